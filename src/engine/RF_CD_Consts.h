#pragma once

class TovRHs;
class TovRFs;

// Fill the header and field tables of the Chart Data worksheet: the globals CD_RHs and CD_RFs, or
// the given lists.
void FillChartDataHeaders();
void FillChartDataFields();
void FillChartDataHeaders(TovRHs& list);
void FillChartDataFields(TovRFs& list);
