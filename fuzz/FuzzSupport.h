#pragma once

// Every target catches the program's exceptions as the expected answer to bad input.
#include "platform/Exception.h"

#include <QByteArray>
#include <QString>
#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

// What every fuzz target needs around the code it feeds: the surroundings the program sets up at
// start, the input as a file, and a failed check that the fuzzer reports as a crash.
namespace fuzzsupport {

// A headless application, the English text table, and the settings and data folders in a
// temporary folder of this run; made once, on the first call.
void startHeadless();

// The input as bytes.
inline QByteArray bytes(const uint8_t* data, size_t size) {
    return QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
}

// The input written to a file of that name in this run's temporary folder; the same name is
// overwritten on every call.
QString writeInput(const QByteArray& bytes, const QString& name);

// A path in this run's temporary folder.
QString scratchPath(const QString& name);

// The parts (name, bytes) as a zip archive in memory; empty when libzip refuses a part's name,
// or when there is no part (an archive without parts leaves no data behind).
QByteArray zipParts(const std::vector<std::pair<std::string, std::string>>& parts);

// Stops the run as a crash when an invariant does not hold, so that the fuzzer keeps the input.
void check(bool holds, const char* what);

} // namespace fuzzsupport
