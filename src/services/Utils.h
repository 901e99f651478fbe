#pragma once

// The general utilities of the program, gathered by responsibility.
#include "IndexRange.h"
#include "TextMetrics.h"
#include "FileChecks.h"
#include "NumberUtils.h"
#include "PathUtils.h"
#include "ShellUtils.h"
#include "StrUtils.h"
