#pragma once

#include "tests/cli/process.h"
#include "tests/support/testsupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

// Runs the built decagon-cli from a copy in a folder of its own, so that the
// settings file beside it is the test's to write, and outputs go to a fresh
// folder per test.
class CliProcessTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        programFolder_ = std::make_unique<TempFolder>();
        program_ = programFolder_->file("decagon-cli");
        std::filesystem::copy_file(DECAGON_CLI_PATH, program_);
    }
    static void TearDownTestSuite() { programFolder_.reset(); }

    void SetUp() override { std::filesystem::remove(SettingsPath()); }

    static std::string SettingsPath() { return programFolder_->file("Vanteo.ini"); }
    static const std::string& ProgramFolder() { return programFolder_->path(); }

    ProcessResult Run(const std::vector<std::string>& arguments, const ProcessOptions& options = {})
    {
        return RunProcess(program_, arguments, options);
    }

    std::string Out(const std::string& name) const { return outputs.file(name); }

    TempFolder outputs;

private:
    static inline std::unique_ptr<TempFolder> programFolder_;
    static inline std::string program_;
};
