#pragma once

// Fill the header and field tables of the Project Summary worksheet (PS_RHs, PS_RFs).
void FillProjectSummaryHeaders();
void FillProjectSummaryFields();
