// One Compute of the main dialog at four heights, from the command to
// the preview painted on the window: reading the fields, the geometry, the
// settings file rewritten in one step, the 31 fields shown, the preview
// box worked out, and the window's repaint. The reference in the same run
// is the repaint alone of an empty dialog of the same size: the least a
// visible change of the window costs. Runs on Qt's offscreen platform.
#include "qt/dialogbuilder.h"
#include "qt/maindialog.h"
#include "settings/settings.h"
#include "tests/qt/qtfakes.h"

#include <QApplication>
#include <QLineEdit>
#include <QTest>

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <memory>

namespace {
void ShowAndWait(QWidget& window)
{
    window.show();
    (void)QTest::qWaitForWindowExposed(&window);
}

// As typed into the height field (at most nine characters).
const char* const kTypedHeights[] = {"254.884", "10000", "39746", "999999999"};

void ComputeToPreviewPainted(benchmark::State& state)
{
    const QString typed = QString::fromLatin1(kTypedHeights[state.range(0)]);
    const std::filesystem::path folder = std::filesystem::temp_directory_path() / "decagon-dialog-bench";
    std::filesystem::create_directories(folder);
    LocateSettingsFile((folder / "decagon").string());
    DecagonRecord record{};
    NoOpener opener;
    MainDialog dialog(&record, opener);
    ShowAndWait(dialog);
    QLineEdit* height = DialogItemAs<QLineEdit>(dialog, kHeightFieldId);
    for (auto _ : state) {
        height->setText(typed);
        dialog.controller().DispatchCommand(kComputeId, ControlEvent::ButtonClicked);
        QCoreApplication::processEvents(); // the posted repaint
    }
    state.SetLabel("height " + typed.toStdString());
    std::filesystem::remove_all(folder);
}
BENCHMARK(ComputeToPreviewPainted)->DenseRange(0, 3)->Unit(benchmark::kMillisecond);

void ReferenceRepaintEmptyDialog(benchmark::State& state)
{
    QDialog dialog;
    const DialogRect client{0, 0, MainDialogTemplate.width, MainDialogTemplate.height};
    dialog.setFixedSize(DialogUnitsToPixels(client, MeasureBaseUnits(DialogFont(MainDialogTemplate))).size());
    ShowAndWait(dialog);
    for (auto _ : state) {
        dialog.update();
        QCoreApplication::processEvents();
    }
}
BENCHMARK(ReferenceRepaintEmptyDialog)->Unit(benchmark::kMillisecond);
} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
