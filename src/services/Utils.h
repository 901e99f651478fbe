#pragma once

// The general utilities of the program, gathered by responsibility.
#include "FileChecks.h"
#include "IndexRange.h"
#include "NumberUtils.h"
#include "PathUtils.h"
#include "ShellUtils.h"
#include "StrUtils.h"
