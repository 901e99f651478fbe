// The S Curve Options tab: its rules as tables (preview codes and pictures, axis titles, which
// controls are enabled), the drawn previews, and the page hosted by a recording main window over
// a real data file in a temporary folder.
#include "controls/ovVLabel.h"
#include "engine/DataSetColors.h"
#include "forms/StatusImage.h"
#include "forms/tabs/SCOPreview.h"
#include "forms/tabs/TabSCOModel.h"
#include "forms/tabs/Tab_SCO.h"
#include "model/ModelUtils.h"
#include "model/ovDF.h"
#include "model/ovDV.h"
#include "model/ovSD.h"
#include "program/GlobalObjects.h"
#include "services/TextIds.h"
#include "services/ovUIL.h"
#include "support/FakeDataFile.h"
#include "support/FakeStdDlg.h"
#include "support/FakeTabHost.h"
#include "support/ModelGlobals.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace {

QString Q(const char* text) {
    return QString::fromUtf8(text);
}

TSCOValues valuesOf(bool bl, bool act, bool tgt, bool mh, bool cost) {
    TSCOValues v;
    v.GenerateBL = bl;
    v.GenerateACT = act;
    v.GenerateTGT = tgt;
    v.GraphMH = mh;
    v.GraphCost = cost;
    return v;
}

// The picture every option combination shows, stated by the sets' initials: no definition or a
// quantity without data set shows nothing to preview, no data set empty axes, and the chosen
// sets are dimmed while no quantity is graphed.
QString expectedPicture(bool definitions, bool bl, bool act, bool tgt, bool graphed) {
    if (!definitions || (!bl && !act && !tgt && graphed)) {
        return Q("Disabled");
    }
    if (!bl && !act && !tgt) {
        return Q("Blank");
    }
    QString name;
    name += bl ? Q("B") : QString();
    name += act ? Q("A") : QString();
    name += tgt ? Q("T") : QString();
    return graphed ? name : name + Q("_D");
}

TEST(SCOPreviewCodes, EveryOptionCombinationShowsItsPicture) {
    for (int bits = 0; bits < 64; ++bits) {
        const bool definitions = (bits & 1) != 0;
        const TSCOValues v = valuesOf((bits & 2) != 0, (bits & 4) != 0, (bits & 8) != 0,
                                      (bits & 16) != 0, (bits & 32) != 0);
        SCOPED_TRACE(bits);
        const int code = scotab::PreviewCode(definitions, v);
        EXPECT_EQ(scotab::PreviewPictureOf(code).Name(),
                  expectedPicture(definitions, v.GenerateBL, v.GenerateACT, v.GenerateTGT,
                                  v.GraphMH || v.GraphCost));
    }
    // Man hours and cost add the same 16.
    EXPECT_EQ(scotab::PreviewCode(true, valuesOf(true, false, false, false, false)), 3);
    EXPECT_EQ(scotab::PreviewCode(true, valuesOf(true, true, true, true, false)), 31);
    EXPECT_EQ(scotab::PreviewCode(true, valuesOf(true, true, true, true, true)), 31);
    EXPECT_EQ(scotab::PreviewCode(true, valuesOf(false, false, false, false, true)), 17);
    EXPECT_EQ(scotab::PreviewCode(false, valuesOf(false, false, false, false, false)), 0);
}

TEST(SCOPreviewCodes, PictureTableByCode) {
    const std::pair<int, const char*> kPictures[] = {
        {1, "Blank"},     {3, "B_D"},      {5, "A_D"},      {7, "BA_D"},      {9, "T_D"},
        {11, "BT_D"},     {13, "AT_D"},    {15, "BAT_D"},   {19, "B"},        {21, "A"},
        {23, "BA"},       {25, "T"},       {27, "BT"},      {29, "AT"},       {31, "BAT"},
        {17, "Disabled"}, {0, "Disabled"}, {2, "Disabled"}, {30, "Disabled"}, {-1, "Disabled"},
        {33, "Disabled"}};
    for (const auto& [code, name] : kPictures) {
        EXPECT_EQ(scotab::PreviewPictureOf(code).Name(), Q(name)) << code;
    }
}

TEST(SCOAxisLabels, TextAndColourFollowTheGraphedQuantities) {
    struct Case {
        bool mh, cost;
        int sCurveId, histogramId;
        TColor color;
        const char* text;
    };
    const Case kCases[] = {
        {false, false, 138, 149, clMaroon, "Quantity Axis"},
        {true, false, 139, 150, clWindowText, "Man Hours"},
        {false, true, 140, 151, clWindowText, "Cost"},
        {true, true, 141, 152, clWindowText, "Man Hours, Cost"},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.text);
        const TSCOAxisLabel s = scotab::AxisLabelOf(TSCOPreviewKind::SCurve, c.mh, c.cost);
        const TSCOAxisLabel h = scotab::AxisLabelOf(TSCOPreviewKind::Histogram, c.mh, c.cost);
        EXPECT_EQ(s.TextId, c.sCurveId);
        EXPECT_EQ(h.TextId, c.histogramId);
        EXPECT_EQ(s.FontColor, c.color);
        EXPECT_EQ(h.FontColor, c.color);
        EXPECT_EQ(UIT(s.TextId), Q(c.text));
        EXPECT_EQ(UIT(h.TextId), Q(c.text));
    }
}

TEST(SCOControlStates, EnablingFollowsTheChosenOptions) {
    struct Case {
        const char* what;
        TSCOValues values;
        bool tabEnabled;
        bool cutOff, graph, mhQty, costQty, active;
        std::array<bool, kSCOLegendEntryCount> legend;
        int code;
    };
    const Case kCases[] = {
        {"disabled tab",
         valuesOf(true, true, true, true, true),
         false,
         false,
         false,
         false,
         false,
         false,
         {},
         1},
        {"no data set",
         valuesOf(false, false, false, false, false),
         true,
         false,
         false,
         false,
         false,
         false,
         {},
         1},
        {"baseline only",
         valuesOf(true, false, false, false, false),
         true,
         true,
         true,
         false,
         false,
         true,
         {true, false, false, false},
         3},
        {"actual with man hours",
         valuesOf(false, true, false, true, false),
         true,
         true,
         true,
         true,
         false,
         true,
         {false, true, false, true},
         21},
        {"actual with cost",
         valuesOf(false, true, false, false, true),
         true,
         true,
         true,
         false,
         true,
         true,
         {false, true, false, true},
         21},
        {"target with both",
         valuesOf(false, false, true, true, true),
         true,
         true,
         true,
         false,
         false,
         true,
         {false, false, true, false},
         25},
        {"all with man hours",
         valuesOf(true, true, true, true, false),
         true,
         true,
         true,
         true,
         false,
         true,
         {true, true, true, true},
         31},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.what);
        const TSCOControlStates s = scotab::ControlStatesOf(c.values, c.tabEnabled, true);
        EXPECT_EQ(s.GenerateEnabled, c.tabEnabled);
        EXPECT_EQ(s.CutOffDateEnabled, c.cutOff);
        EXPECT_EQ(s.GraphEnabled, c.graph);
        EXPECT_EQ(s.MHQtyEnabled, c.mhQty);
        EXPECT_EQ(s.CostQtyEnabled, c.costQty);
        for (const TSCOPreviewKind kind : {TSCOPreviewKind::SCurve, TSCOPreviewKind::Histogram}) {
            const TSCOPreviewState& p = s.Preview(kind);
            EXPECT_EQ(p.Active, c.active);
            EXPECT_EQ(p.Legend, c.legend);
            EXPECT_EQ(p.Code, c.code);
            if (!c.active) {
                EXPECT_EQ(p.Axis.TextId, scotab::InactiveAxisLabel(kind).TextId);
                EXPECT_EQ(p.Axis.FontColor, clMaroon);
            }
        }
    }
    // Without any definition the inactive previews show nothing to preview.
    const TSCOControlStates none = scotab::ControlStatesOf(TSCOValues{}, false, false);
    EXPECT_EQ(scotab::PreviewPictureOf(none.SCurve.Code).Name(), Q("Disabled"));
    EXPECT_EQ(scotab::PreviewPictureOf(none.Histogram.Code).Name(), Q("Disabled"));
}

TEST(SCOValues, SettlingDropsWhatTheChosenDataCannotGraph) {
    TSCOValues expended = valuesOf(true, false, false, true, true);
    expended.MHQtyItem = 1;
    expended.CostQtyItem = 1;
    const TSCOValues withoutActual = scotab::Settled(expended);
    EXPECT_TRUE(withoutActual.GraphMH);
    EXPECT_TRUE(withoutActual.GraphCost);
    EXPECT_EQ(withoutActual.MHQtyItem, 0);
    EXPECT_EQ(withoutActual.CostQtyItem, 0);

    expended.GenerateACT = true;
    EXPECT_EQ(scotab::Settled(expended), expended);

    const TSCOValues noData = scotab::Settled(valuesOf(false, false, false, true, true));
    EXPECT_FALSE(noData.GraphMH);
    EXPECT_FALSE(noData.GraphCost);
}

TEST(SCOTabState, ADisabledTabNeitherLoadsNorStoresNorTakesEdits) {
    TSCOTabState state;
    TovSCO options;
    options.setGenerateBL(1);
    state.Load(options);
    EXPECT_FALSE(state.values().GenerateBL);
    EXPECT_FALSE(state.Edit(valuesOf(true, false, false, false, false)));

    state.Enable(true, 41000);
    EXPECT_TRUE(state.Edit(valuesOf(true, false, false, false, false)));
    EXPECT_FALSE(state.Edit(valuesOf(true, false, false, false, false)));
    // An edit that settles back to the values on screen changes nothing.
    EXPECT_FALSE(state.Edit(valuesOf(true, false, false, false, false)));
    TSCOValues sameButExpended = state.values();
    sameButExpended.MHQtyItem = 1;
    EXPECT_FALSE(state.Edit(sameButExpended));

    state.Enable(false, 41000.7);
    EXPECT_EQ(state.values(), scotab::ClearedValues(41000));
    EXPECT_EQ(state.values().CutOffDate, 41000);
}

TEST(SCOTabState, LoadShowsTheStoredQuantitiesAndClampsTheDate) {
    TovSCO options;
    options.setGenerateACT(1);
    options.setGraphCost(1);
    EXPECT_FALSE(options.setCostQty(qtyExpendedToDate));
    options.setCutOffDate(TovSCO::MaxCutOffDate + 10);
    const TSCOValues v = scotab::LoadedValues(options);
    EXPECT_TRUE(v.GenerateACT);
    EXPECT_TRUE(v.GraphCost);
    EXPECT_EQ(v.CostQtyItem, 1);
    EXPECT_EQ(v.MHQtyItem, 0);
    EXPECT_EQ(v.CutOffDate, 2958465);
}

// The validator's checks behind the two status pictures.
class SCOValidation : public testing::Test {
protected:
    SCOValidation() { DV = &validator; }
    ~SCOValidation() override { DV = nullptr; }
    TovDV validator;
};

TEST_F(SCOValidation, NoDataSetAndNoQuantityShowTheValidatorsHints) {
    const TSCOStatus nothing = scotab::Validate(TSCOValues{}, validator);
    EXPECT_TRUE(nothing.DataOptionsError);
    EXPECT_EQ(nothing.DataOptionsHint, UIT(txt::AtLeastOneDataOption));
    EXPECT_TRUE(nothing.QuantityOptionsError);
    // Without a data set the quantity hint says how to enable the quantities.
    EXPECT_TRUE(nothing.QuantityOptionsHint.startsWith(UIT(txt::AtLeastOneQuantityMan)));
    EXPECT_TRUE(nothing.QuantityOptionsHint.contains(UIT(txt::ToEnableQuantityOptionsPlease)));

    const TSCOStatus baseline =
        scotab::Validate(valuesOf(true, false, false, false, false), validator);
    EXPECT_FALSE(baseline.DataOptionsError);
    EXPECT_TRUE(baseline.DataOptionsHint.isEmpty());
    EXPECT_EQ(baseline.QuantityOptionsHint, UIT(txt::AtLeastOneQuantityMan));

    const TSCOStatus graphed =
        scotab::Validate(valuesOf(true, false, false, false, true), validator);
    EXPECT_FALSE(graphed.QuantityOptionsError);
    EXPECT_TRUE(graphed.QuantityOptionsHint.isEmpty());
}

TEST(SCOFields, ConfigurationErrorsLeadToTheirControls) {
    const std::pair<int, TSCOField> kFields[] = {
        {759, TSCOField::GenerateBL}, {767, TSCOField::CutOffDate}, {768, TSCOField::GraphMH},
        {770, TSCOField::MHQty},      {773, TSCOField::CostQty},    {771, TSCOField::None},
        {0, TSCOField::None}};
    for (const auto& [id, field] : kFields) {
        EXPECT_EQ(scotab::FieldOfLabel(id), field) << id;
    }
}

QImage drawn(TSCOPreviewKind kind, int code) {
    QImage image(240, 120, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    DrawSCOPreview(painter, image.rect(), kind, code);
    return image;
}

bool hasColor(const QImage& image, const QColor& color) {
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixelColor(x, y) == color) {
                return true;
            }
        }
    }
    return false;
}

TEST(SCOPreviewDrawing, EachCodeDrawsItsOwnPicture) {
    for (const TSCOPreviewKind kind : {TSCOPreviewKind::SCurve, TSCOPreviewKind::Histogram}) {
        SCOPED_TRACE(static_cast<int>(kind));
        EXPECT_EQ(drawn(kind, 31), drawn(kind, 31));
        const int codes[] = {0, 1, 3, 19, 21, 25, 31};
        for (const int a : codes) {
            for (const int b : codes) {
                if (a < b) {
                    EXPECT_NE(drawn(kind, a), drawn(kind, b)) << a << " " << b;
                }
            }
        }
        // Graphed data sets are drawn in their own colours; dimmed ones are not.
        const QColor baseline = SCOSeriesColor(leBaseline, false);
        EXPECT_TRUE(hasColor(drawn(kind, 19), baseline));
        EXPECT_FALSE(hasColor(drawn(kind, 3), baseline));
        EXPECT_FALSE(hasColor(drawn(kind, 25), baseline));
        // Each data set in its colour of the charts and the Summary.
        for (const auto& [entry, code] :
             {std::pair{leBaseline, 19}, std::pair{leActual, 21}, std::pair{leTarget, 25}}) {
            const QColor own = QColor::fromRgba(
                platform::colorToArgb(DataSetColors::InOrder[static_cast<size_t>(entry)]));
            EXPECT_EQ(SCOSeriesColor(entry, false), own) << entry;
            EXPECT_TRUE(hasColor(drawn(kind, code), own)) << entry;
        }
        // The cut off date comes with actual data only.
        const QColor cutOff = SCOSeriesColor(leCutOffDate, false);
        EXPECT_TRUE(hasColor(drawn(kind, 21), cutOff));
        EXPECT_FALSE(hasColor(drawn(kind, 27), cutOff));
    }
    EXPECT_NE(drawn(TSCOPreviewKind::SCurve, 31), drawn(TSCOPreviewKind::Histogram, 31));
}

// The page over the real definitions list and data file, with a fixed today.
class SCOPage : public testsupport::ModelGlobalsFixture {
protected:
    void SetUp() override {
        ModelGlobalsFixture::SetUp();
        DF->setFileDialogs(&dialogs);
        ASSERT_TRUE(DF->New());
        page = std::make_unique<TTab_SCO>(host, nullptr);
        page->Clear();
        ShowDefinition();
    }
    void TearDown() override {
        page.reset();
        ModelGlobalsFixture::TearDown();
    }

    // What the main window does when a definition becomes active.
    void ShowDefinition() {
        page->Enable(SDs->getCount() > 0);
        page->Load();
        page->Refresh();
    }

    template <typename T> T* control(const char* name) {
        T* found = page->findChild<T*>(QLatin1String(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }

    TovSCO& options() { return *SDs->getItems(SDs->getActiveSD())->SCO; }

    testsupport::FakeTabHost host;
    std::unique_ptr<TTab_SCO> page;
};

TEST_F(SCOPage, EditsAreStoredSavedAndReadBack) {
    control<QCheckBox>("CB_SCO_GenerateACT")->setChecked(true);
    control<QCheckBox>("CB_SCO_GenerateTGT")->setChecked(true);
    control<QDateEdit>("DTP_SCO_CutOffDate")->setDate(QDate(2013, 2, 1));
    control<QCheckBox>("CB_SCO_GraphMH")->setChecked(true);
    control<QComboBox>("DDL_SCO_MHQty")->setCurrentIndex(1);
    control<QCheckBox>("CB_SCO_GraphCost")->setChecked(true);
    const TSCOValues edited = page->state().values();
    EXPECT_TRUE(edited.GenerateACT && edited.GenerateTGT && !edited.GenerateBL);
    EXPECT_EQ(edited.CutOffDate, 41306);
    EXPECT_EQ(edited.MHQtyItem, 1);
    EXPECT_EQ(edited.CostQtyItem, 0);
    EXPECT_EQ(host.modifiedMarks, 6);

    page->Store();
    EXPECT_EQ(options().getGenerateACT(), 1);
    EXPECT_EQ(options().getMHQty(), qtyExpendedToDate);
    EXPECT_EQ(options().getCutOffDate(), 41306);
    // The map's required fields follow the stored options.
    TovSD& definition = *SDs->getItems(SDs->getActiveSD());
    bool anyRequired = false;
    for (int i = 1; i <= definition.DSM->getCount(); ++i) {
        anyRequired |= definition.DSM->getItems(i)->getTaskFldRequired();
    }
    EXPECT_TRUE(anyRequired);

    const QString path = dir.filePath(Q("options.krvc"));
    dialogs.answers = {path};
    ASSERT_TRUE(DF->SaveAs());
    ASSERT_TRUE(DF->Close());
    page->Clear();
    ShowDefinition();
    ASSERT_TRUE(DF->OpenDataFile(path, false));
    SDs->setActiveSD(1);
    ShowDefinition();
    EXPECT_EQ(page->state().values(), edited);
    EXPECT_EQ(control<QComboBox>("DDL_SCO_MHQty")->currentIndex(), 1);
    EXPECT_EQ(page->previewCode(TSCOPreviewKind::SCurve), 29);
}

TEST_F(SCOPage, OnlyRealChangesMarkTheDataFileModified) {
    // Loading and refreshing mark nothing; a store without edits changes nothing.
    EXPECT_EQ(host.modifiedMarks, 0);
    page->Store();
    EXPECT_EQ(host.modifiedMarks, 0);

    auto* date = control<QDateEdit>("DTP_SCO_CutOffDate");
    EXPECT_FALSE(date->isEnabled());
    control<QCheckBox>("CB_SCO_GenerateBL")->setChecked(true);
    EXPECT_EQ(host.modifiedMarks, 1);
    EXPECT_TRUE(date->isEnabled());
    date->setDate(date->date());
    EXPECT_EQ(host.modifiedMarks, 1);
    EXPECT_GT(host.balloon.hides, 0);

    // The same options stored twice change the definition once.
    page->Store();
    page->Store();
    EXPECT_EQ(options().getGenerateBL(), 1);
}

TEST_F(SCOPage, UncheckingActualResetsItsQuantitiesAndLegend) {
    options().setGenerateACT(1);
    options().setGraphMH(1);
    EXPECT_FALSE(options().setMHQty(qtyExpendedToDate));
    ShowDefinition();
    auto* list = control<QComboBox>("DDL_SCO_MHQty");
    EXPECT_TRUE(list->isEnabled());
    EXPECT_EQ(list->currentIndex(), 1);
    EXPECT_EQ(page->previewCode(TSCOPreviewKind::Histogram), 21);
    EXPECT_TRUE(control<TSCOLegendPicture>("Img_SCO_Legend_COD_HG")->getActive());

    control<QCheckBox>("CB_SCO_GenerateBL")->setChecked(true);
    control<QCheckBox>("CB_SCO_GenerateACT")->setChecked(false);
    EXPECT_EQ(list->currentIndex(), 0);
    EXPECT_FALSE(list->isEnabled());
    EXPECT_EQ(page->previewCode(TSCOPreviewKind::SCurve), 19);
    for (const char* entry : {"COD_SC", "COD_HG"}) {
        const QString name = QString::fromLatin1(entry);
        EXPECT_FALSE(page->findChild<TSCOLegendPicture*>(Q("Img_SCO_Legend_") + name)->getActive());
        EXPECT_FALSE(page->findChild<QLabel*>(Q("Lbl_SCO_Legend_") + name)->isEnabled());
    }

    // Without any data set nothing can be graphed and the previews go blank.
    control<QCheckBox>("CB_SCO_GenerateBL")->setChecked(false);
    auto* graph = control<QCheckBox>("CB_SCO_GraphMH");
    EXPECT_FALSE(graph->isChecked());
    EXPECT_FALSE(graph->isEnabled());
    EXPECT_EQ(page->previewCode(TSCOPreviewKind::SCurve), 1);
    EXPECT_EQ(page->previewCode(TSCOPreviewKind::Histogram), 1);
    page->Store();
    EXPECT_EQ(options().getGraphMH(), 0);
    EXPECT_EQ(options().getMHQty(), qtyTaskTotal);
}

TEST_F(SCOPage, ADisabledTabIsClearedAndTakesNoInput) {
    control<QCheckBox>("CB_SCO_GenerateBL")->setChecked(true);
    page->Enable(false);
    EXPECT_FALSE(control<QCheckBox>("CB_SCO_GenerateBL")->isChecked());
    EXPECT_FALSE(control<QCheckBox>("CB_SCO_GenerateBL")->isEnabled());
    EXPECT_FALSE(control<QDateEdit>("DTP_SCO_CutOffDate")->isEnabled());
    EXPECT_EQ(control<QDateEdit>("DTP_SCO_CutOffDate")->date(), QDate(2013, 3, 15));
    // Store does nothing while disabled.
    page->Store();
    EXPECT_EQ(options().getGenerateBL(), 0);

    SDs->Clear();
    page->Clear();
    EXPECT_EQ(page->previewCode(TSCOPreviewKind::SCurve), 0);
    EXPECT_EQ(page->previewCode(TSCOPreviewKind::Histogram), 0);
}

TEST_F(SCOPage, StatusPicturesAndAxisTitlesFollowTheOptions) {
    auto* dataPicture = control<TStatusImage>("Img_SCO_SCO");
    auto* quantityPicture = control<TStatusImage>("Img_SCO_QAO");
    auto* axis = control<TovVLabel>("VLbl_SCO_SCP_YAxis");
    EXPECT_EQ(dataPicture->getTag(), 1);
    EXPECT_EQ(dataPicture->toolTip(), UIT(txt::AtLeastOneDataOption));
    EXPECT_EQ(quantityPicture->getTag(), 1);
    EXPECT_EQ(axis->getCaption(), Q(" Quantity Axis "));
    EXPECT_EQ(axis->getFontColor(), clMaroon);
    EXPECT_FALSE(axis->isEnabled());

    control<QCheckBox>("CB_SCO_GenerateBL")->setChecked(true);
    EXPECT_EQ(dataPicture->getTag(), 2);
    EXPECT_TRUE(dataPicture->toolTip().isEmpty());
    EXPECT_EQ(quantityPicture->getTag(), 1);
    EXPECT_EQ(quantityPicture->toolTip(), UIT(txt::AtLeastOneQuantityMan));
    EXPECT_EQ(page->previewCode(TSCOPreviewKind::SCurve), 3);
    EXPECT_TRUE(axis->isEnabled());
    EXPECT_EQ(axis->getFontColor(), clMaroon);

    control<QCheckBox>("CB_SCO_GraphCost")->setChecked(true);
    EXPECT_EQ(quantityPicture->getTag(), 2);
    EXPECT_EQ(axis->getCaption(), Q(" Cost "));
    EXPECT_EQ(axis->getFontColor(), clWindowText);
    EXPECT_EQ(control<TovVLabel>("VLbl_SCO_HGP_YAxis")->getCaption(), Q(" Cost "));

    // A disabled tab shows ok pictures.
    control<QCheckBox>("CB_SCO_GraphCost")->setChecked(false);
    page->Enable(false);
    EXPECT_EQ(quantityPicture->getTag(), 2);
    EXPECT_EQ(dataPicture->getTag(), 2);
}

TEST_F(SCOPage, AQuantityWithoutDataSetIsDroppedWhenShown) {
    options().setGraphMH(1);
    ShowDefinition();
    auto* graph = control<QCheckBox>("CB_SCO_GraphMH");
    EXPECT_FALSE(graph->isChecked());
    EXPECT_FALSE(graph->isEnabled());
    EXPECT_EQ(page->previewCode(TSCOPreviewKind::SCurve), 1);
    EXPECT_EQ(control<TStatusImage>("Img_SCO_SCO")->getTag(), 1);
    // Storing writes the settled options and says so.
    page->Store();
    EXPECT_EQ(options().getGraphMH(), 0);
    EXPECT_EQ(host.modifiedMarks, 1);
}

TEST_F(SCOPage, ConfigurationErrorsFocusTheirControlWhenEnabled) {
    page->show();
    QApplication::setActiveWindow(page.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(page.get()));
    page->GoToField(759, 0);
    EXPECT_EQ(QApplication::focusWidget(), control<QCheckBox>("CB_SCO_GenerateBL"));
    // Without a data set the cut off date is disabled: the focus stays.
    page->GoToField(767, 0);
    EXPECT_EQ(QApplication::focusWidget(), control<QCheckBox>("CB_SCO_GenerateBL"));
    control<QCheckBox>("CB_SCO_GenerateACT")->setChecked(true);
    control<QCheckBox>("CB_SCO_GraphCost")->setChecked(true);
    page->GoToField(773, 0);
    EXPECT_EQ(QApplication::focusWidget(), control<QComboBox>("DDL_SCO_CostQty"));
    page->GoToField(767, 0);
    EXPECT_EQ(QApplication::focusWidget(), control<QDateEdit>("DTP_SCO_CutOffDate"));
}

} // namespace
