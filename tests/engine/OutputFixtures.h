#pragma once

#include "CalcFixtures.h"
#include "engine/RF_CD_Consts.h"
#include "engine/RF_PS_Consts.h"
#include "engine/StageProgress.h"
#include "engine/ovRF.h"
#include "engine/ovRH.h"
#include "program/GlobalObjects.h"

#include <gtest/gtest.h>

namespace enginetest {

// The four report tables of the program, created for the whole test program, as every run
// needs them.
class ReportTablesEnvironment : public testing::Environment {
public:
    void SetUp() override {
        tables = std::make_unique<TGlobalObjects>(
            std::initializer_list<TGlobalObject>{TGlobalObject::goRHs, TGlobalObject::goRFs});
    }
    void TearDown() override { tables.reset(); }

private:
    std::unique_ptr<TGlobalObjects> tables;
};

// Report tables of one test and a silent progress for the stages.
struct SummaryTables {
    SummaryTables() {
        FillProjectSummaryHeaders(psHeaders);
        FillProjectSummaryFields(psFields);
        FillChartDataHeaders(cdHeaders);
        FillChartDataFields(cdFields);
    }
    TovRF& ps(int item) { return *psFields.getItems(item); }
    TovRF& cd(int item) { return *cdFields.getItems(item); }

    TovRHs psHeaders;
    TovRFs psFields;
    TovRHs cdHeaders;
    TovRFs cdFields;
    TNullProgress sink;
    engine::StageProgress progress{sink};
};

} // namespace enginetest
