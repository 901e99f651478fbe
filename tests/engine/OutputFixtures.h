#pragma once

#include "CalcFixtures.h"
#include "engine/RF_CD_Consts.h"
#include "engine/RF_PS_Consts.h"
#include "engine/StageProgress.h"
#include "engine/ovRF.h"
#include "engine/ovRH.h"

#include <gtest/gtest.h>

namespace enginetest {

// The four report tables of the program, created for the whole test program when start-up has
// not made them, as every run needs them.
class ReportTablesEnvironment : public testing::Environment {
public:
    void SetUp() override {
        if (PS_RHs == nullptr) {
            PS_RHs = new TovRHs();
            FillProjectSummaryHeaders(*PS_RHs);
            createdPS_RHs = true;
        }
        if (CD_RHs == nullptr) {
            CD_RHs = new TovRHs();
            FillChartDataHeaders(*CD_RHs);
            createdCD_RHs = true;
        }
        if (PS_RFs == nullptr) {
            PS_RFs = new TovRFs();
            FillProjectSummaryFields(*PS_RFs);
            createdPS_RFs = true;
        }
        if (CD_RFs == nullptr) {
            CD_RFs = new TovRFs();
            FillChartDataFields(*CD_RFs);
            createdCD_RFs = true;
        }
    }
    void TearDown() override {
        free(CD_RHs, createdCD_RHs);
        free(PS_RHs, createdPS_RHs);
        free(CD_RFs, createdCD_RFs);
        free(PS_RFs, createdPS_RFs);
    }

private:
    template <class T> static void free(T*& list, bool created) {
        if (created) {
            delete list;
            list = nullptr;
        }
    }
    bool createdPS_RHs = false;
    bool createdCD_RHs = false;
    bool createdPS_RFs = false;
    bool createdCD_RFs = false;
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
    engine::NullProgressSink sink;
    engine::StageProgress progress{sink};
};

} // namespace enginetest
