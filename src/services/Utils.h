#pragma once

// The general utilities of the program, gathered by responsibility.
#include "IndexRange.h"
#include "TextMetrics.h"
