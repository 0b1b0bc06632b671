#pragma once
// Where a start of the program spends its time, for the start-up benchmark: with the environment
// variable BRAN_STARTUP_TRACE naming a file, each mark appends a line "<phase> <milliseconds since
// the process was created>" to it. Without the variable a mark costs one look at the environment,
// made once.
void StartupMark(const char* phase);
