#pragma once

#include <QString>

class TovRHs;
class TovRFs;

// The report title written in the first header cell of both output worksheets.
QString ReportTitle();

// Fill the header and field tables of the Project Summary worksheet: the globals PS_RHs and
// PS_RFs, or the given lists.
void FillProjectSummaryHeaders();
void FillProjectSummaryFields();
void FillProjectSummaryHeaders(TovRHs& list);
void FillProjectSummaryFields(TovRFs& list);
