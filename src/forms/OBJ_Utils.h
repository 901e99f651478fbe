#pragma once

#include "services_ui/Startup.h"

#include <vector>

class TGlobalObjects;

// The start-up steps in their order, with their splash and failure texts: each creates its
// global objects in the owner (true on success, StartupErrorDetails set on failure).
std::vector<TStartupStep> StartupSteps(TGlobalObjects& globals);
