#pragma once

// The in-run yardsticks of the whole-run benchmark: what the bare work on the same data costs on
// this machine at the time of the run, so that the run is judged by ratios that hold on a loaded
// machine.
#include <QString>

namespace bench {

// Inflating the task sheet and parsing its XML on memory used before: the work alone, without
// the faults of fresh memory.
struct SourceYardsticks {
    double mebibytes = 0; // of the task sheet's XML
    double inflate = 0;   // inflating the task sheet's part alone
    double parse = 0;     // a bare pugixml parse of its XML (default options, in place)
    bool ok = false;
};

// Keeps the memory the process frees for its next use rather than handing it back to the
// system, so that the yardsticks after the first measure the work alone, not the faults of fresh
// memory (which vary with the machine's load).
void KeepFreedMemory();

// Inflates the part of the workbook and parses its XML, each a few times (the median of the
// repeats after the first, see KeepFreedMemory). Meant to run before any tree of the spreadsheet
// engine in the process: the parse then takes its memory from the general allocator.
SourceYardsticks MeasureSource(const QString& workbook, const char* part);

// Copies a workbook with its parts stored uncompressed (for the bare program); false on failure.
bool StoreUncompressed(const QString& workbook, const QString& copy);

// Deflating the output workbook's worksheet XML alone at level 1 (the median of a few); 0 when
// the output cannot be read.
double MeasureDeflateSheets(const QString& output);

} // namespace bench
