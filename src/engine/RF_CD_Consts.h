#pragma once

// Fill the header and field tables of the Chart Data worksheet (CD_RHs, CD_RFs).
void FillChartDataHeaders();
void FillChartDataFields();
