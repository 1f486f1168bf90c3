#pragma once

#include "lanacfg_run.h"

// A refused run: the exit status given, nothing on stdout, one "lanacfg: " line on stderr.
void expectRefused(const RunResult& result, int exitStatus);
