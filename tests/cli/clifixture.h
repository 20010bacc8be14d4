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
        // Installed as a prefix holds it: bin/decagon-cli, and Qt's image
        // writers, which it loads when a format needs them, in the library
        // folder.
        prefix_ = std::make_unique<TempFolder>();
        programFolder_ = prefix_->file("bin");
        program_ = programFolder_ + "/decagon-cli";
        const std::filesystem::path module = DECAGON_QT_IMAGE_MODULE_PATH;
        const std::filesystem::path moduleFolder =
            std::filesystem::path(programFolder_) / DECAGON_QT_IMAGE_MODULE_FROM_PROGRAM;
        std::filesystem::create_directories(programFolder_);
        std::filesystem::create_directories(moduleFolder);
        std::filesystem::copy_file(DECAGON_CLI_PATH, program_);
        std::filesystem::copy_file(module, moduleFolder / module.filename());
    }
    static void TearDownTestSuite() { prefix_.reset(); }

    void SetUp() override { std::filesystem::remove(SettingsPath()); }

    static std::string SettingsPath() { return programFolder_ + "/Vanteo.ini"; }
    static const std::string& ProgramFolder() { return programFolder_; }

    ProcessResult Run(const std::vector<std::string>& arguments, const ProcessOptions& options = {})
    {
        return RunProcess(program_, arguments, options);
    }

    std::string Out(const std::string& name) const { return outputs.file(name); }

    TempFolder outputs;

private:
    static inline std::unique_ptr<TempFolder> prefix_;
    static inline std::string programFolder_;
    static inline std::string program_;
};
