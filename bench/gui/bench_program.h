#pragma once
// The end-to-end benchmarks of the desktop program run this benchmark again
// as a child process that starts the program.

// True when argv asks for the child.
bool IsProgramChild(int argc, char** argv);
int RunProgramChild(int argc, char** argv);
// CPU time and memory against the targets, after the benchmarks ran.
void PrintProgramSummary();
