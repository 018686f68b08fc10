#pragma once
// The main of a benchmark that drives windows: the offscreen platform unless
// another is asked for, message boxes answered at once (a failing step must
// not wait for someone to close one), and the windows the benchmarks kept
// ended by endWindows before the application object.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <cstdio>
#include <functional>

#include "controls/message_boxes.h"

namespace tamboro::bench {

inline int runGuiBenchmarks(int argc, char** argv, const std::function<void()>& endWindows) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    setBoxHook([](const BoxShown& box) {
        std::fprintf(stderr, "box: %s\n", qPrintable(box.text));
        return true;
    });
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    endWindows();
    benchmark::Shutdown();
    return 0;
}

}  // namespace tamboro::bench
