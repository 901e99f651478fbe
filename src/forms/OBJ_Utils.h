#pragma once

#include "services/Startup.h"

#include <vector>

// The start-up steps: each creates its global objects (true on success, StartupErrorDetails set
// on failure).
bool InitUILs();
bool InitAD();
bool InitXL();
bool InitOCP();
bool InitDV();
bool InitUP();
bool InitMRUs();
bool InitWMs();
bool InitSDs();
bool InitDF();
bool InitProcess();
bool InitRHs();
bool InitRFs();

// The start-up steps in their order, with their splash and failure texts.
std::vector<TStartupStep> StartupSteps();
// The global objects in the order FreeGlobalObjects frees them.
std::vector<TGlobalObjectFree> GlobalObjectFrees();
// Frees every global object that exists, in that order; an empty global is skipped.
void FreeGlobalObjects();
