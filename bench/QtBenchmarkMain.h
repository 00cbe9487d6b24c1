// SPDX-License-Identifier: MIT
// The main of a benchmark that needs widgets: a QApplication on the offscreen
// platform (unless one is asked for), then every registered benchmark.
#pragma once

#include <QApplication>
#include <benchmark/benchmark.h>

#define YAWMARK_QT_BENCHMARK_MAIN()                                                                \
    int main(int argc, char** argv) {                                                              \
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))                                        \
            qputenv("QT_QPA_PLATFORM", "offscreen");                                               \
        QApplication app(argc, argv);                                                              \
        benchmark::Initialize(&argc, argv);                                                        \
        benchmark::RunSpecifiedBenchmarks();                                                       \
        benchmark::Shutdown();                                                                     \
        return 0;                                                                                  \
    }
