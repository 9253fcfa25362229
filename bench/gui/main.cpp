// The widget-layer benchmarks; offscreen unless a platform is chosen.

#include "bench_program.h"

#include <QApplication>

#include <benchmark/benchmark.h>

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (IsProgramChild(argc, argv))
        return RunProgramChild(argc, argv);
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    PrintProgramSummary();
    benchmark::Shutdown();
    return 0;
}
