#pragma once

// Whether another instance of the program already runs (this one must then end at once, without
// creating anything). The hand-over to a running instance is not there yet: every instance runs.
bool EnsureSingleInstance();
