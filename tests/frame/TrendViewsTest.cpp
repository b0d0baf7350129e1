// The trend and travel histogram views through the control, against the simulated
// positioner's history, on the manual scheduler; and the trend file on its own.

#include "DeviceViewsFixture.h"

#include "views/common/DeviceViewServices.h"
#include "views/components/BarDisplay.h"
#include "views/components/Plot.h"
#include "views/diagnostics/TravelHistogramView.h"
#include "views/diagnostics/TrendDiagView.h"

#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QTemporaryDir>

#include <optional>

using ::testing::ElementsAre;
using ::testing::HasSubstr;

namespace {

class TrendViewsTest : public DeviceViewsTest {
protected:
    CTrendDiagView* ShowTrends() {
        m_window = Show(CTrendDiagView::kViewId);
        return dynamic_cast<CTrendDiagView*>(
            m_control->GetController().FindView(CTrendDiagView::kViewId));
    }
    void ChooseKind(int index) {
        auto* combo = m_window->findChild<QComboBox*>();
        combo->setCurrentIndex(index);
        Q_EMIT combo->activated(index);
    }

    CAnsweringFileDialogs m_dialogs;
};

TEST_F(TrendViewsTest, AKindFetchesItsFourSpansDrawsThemAndSavesThirtyThreeLines) {
    CTrendDiagView* view = ShowTrends();
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(CTrendDiagView::Command(2, 2), 202); // friction, year

    Dtm().Calls().Clear();
    ChooseKind(3); // friction
    EXPECT_EQ(view->Status(), "Uploading day trend");
    Advance(m_scheduler, 12000); // four spans, 2 s each plus the bus, within the guard
    EXPECT_EQ(view->Status(), "Trends plotting completed");
    EXPECT_THAT(Written(0x015B0001), ElementsAre("200", "0", "201", "0", "202", "0", "203", "0"));
    const CTrendHistory& device = Dtm().Positioner().Trends();
    for (int span = 0; span < 4; ++span) {
        const std::vector<std::int16_t> sent =
            device.Hundredths(ETrendKind::Friction, static_cast<ETrendSpan>(span));
        const QList<QPointF> points = view->Plot(span)->channelPoints(0);
        ASSERT_EQ(points.size(), static_cast<qsizetype>(sent.size())) << span;
        for (qsizetype i = 0; i < points.size(); ++i) {
            ASSERT_EQ(points[i], QPointF(i, sent[static_cast<std::size_t>(i)] / 100.0)) << span;
        }
    }
    EXPECT_EQ(view->Plot(0)->channelName(0), "Day Trend");
    EXPECT_EQ(view->Plot(3)->title(), "25 Years");

    // Save: 33 lines, the day columns empty from row 24; Open gives the same trends back.
    QTemporaryDir folder;
    m_dialogs.Answer(folder.path() + "/friction");
    Named<QPushButton>(m_window, "Save")->click();
    QFile file(folder.path() + "/friction.tnd");
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = file.readAll().split('\n');
    ASSERT_EQ(lines.size(), 34); // 33 lines, each ended by a line feed
    EXPECT_EQ(lines[0], "Friction Trend [kPa]");
    EXPECT_TRUE(lines[2 + 24].startsWith("\t\t24\t"));
    EXPECT_TRUE(lines[2 + 0].startsWith("0\t"));
    const STrendFile saved = view->Trends();
    ChooseKind(1);
    Advance(m_scheduler, 12000);
    m_dialogs.Answer(folder.path() + "/friction.tnd");
    Named<QPushButton>(m_window, "Open")->click();
    EXPECT_EQ(view->Kind(), 2);
    for (int span = 0; span < 4; ++span) {
        for (std::size_t i = 0; i < saved.y[span].size(); ++i) {
            EXPECT_NEAR(view->Trends().y[span][i], saved.y[span][i],
                        1e-5 * std::abs(saved.y[span][i]));
        }
    }
    EXPECT_EQ(m_window->findChild<QLabel*>("trendTitle")->text(), "Friction Trend [kPa]");
    EXPECT_EQ(m_dialogs.titles.front(), "Save trend as");
    EXPECT_THAT(m_reports, ::testing::IsEmpty());
}

TEST_F(TrendViewsTest, WrongFramesTheGuardAndMalformedFilesLeaveTheTrendsAsTheyWere) {
    CTrendDiagView* view = ShowTrends();
    ASSERT_NE(view, nullptr);
    // Every frame of another type: each span fails with its own text after three tries.
    Dtm().Faults().frames.wrongType = true;
    ChooseKind(1);
    Advance(m_scheduler, 100 + 3 * (2000 + 2 * kLatencyMs) + 10);
    EXPECT_EQ(view->Status(), "Day trend upload failed");
    Advance(m_scheduler, 20000);
    EXPECT_EQ(view->Status(), "Trend upload failed"); // the guard ends it

    // A device that never answers: the 15 s guard.
    Dtm().Faults().frames.wrongType = false;
    Dtm().Faults().dropReadReplies = true;
    ChooseKind(2);
    Advance(m_scheduler, CTrendDiagView::kGuardMs - 200);
    EXPECT_EQ(view->Status(), "Uploading day trend");
    Advance(m_scheduler, 400);
    EXPECT_EQ(view->Status(), "Trend upload failed");
    EXPECT_FALSE(view->IsUploading());
    Dtm().Faults().dropReadReplies = false;

    // Files: all values equal open with a drawable range; truncated or binary ones are
    // refused, naming the line, and the trends stay.
    STrendFile flat;
    flat.title = STrendFile::TitleOf(0);
    for (std::size_t span = 0; span < 4; ++span) {
        flat.y[span].assign(static_cast<std::size_t>(STrendFile::kPoints[span]), 42.0);
    }
    QTemporaryDir folder;
    const auto open = [&](const QByteArray& content) {
        QFile file(folder.path() + "/t.tnd");
        file.open(QIODevice::WriteOnly);
        file.write(content);
        file.close();
        m_dialogs.Answer(file.fileName());
        Named<QPushButton>(m_window, "Open")->click();
    };
    open(flat.ToText());
    EXPECT_EQ(view->Plot(1)->yAxisMin(), 41.0);
    EXPECT_EQ(view->Plot(1)->yAxisMax(), 43.0);
    const QByteArray text = flat.ToText();
    QByteArray longField = text;
    longField.replace("42", QByteArray(80, '4'));
    for (const QByteArray& bad :
         {text.left(text.size() / 2), QByteArray("\x89PNG\r\n\x1a\n\0\0\0", 11), longField,
          QByteArray(text).replace("42", "4x")}) {
        open(bad);
        EXPECT_THAT(view->GetStatusLine()->text().toStdString(), HasSubstr("Open: "));
        EXPECT_EQ(view->Trends().y[0][0], 42.0);
    }
    QString error;
    EXPECT_FALSE(STrendFile::FromText(text.left(200), error));
    EXPECT_THAT(error.toStdString(), HasSubstr("line "));
    m_reports.clear(); // the refused files were reported on purpose
}

TEST_F(TrendViewsTest, TheHistogramShowsTheDeviceBandsAndSavesABitmap) {
    m_window = Show(CTravelHistogramView::kViewId);
    auto* view = dynamic_cast<CTravelHistogramView*>(
        m_control->GetController().FindView(CTravelHistogramView::kViewId));
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(CTravelHistogramView::BandLabels().front(), "0-6");
    EXPECT_EQ(CTravelHistogramView::BandLabels()[1], "6-12");
    EXPECT_EQ(CTravelHistogramView::BandLabels().back(), "94-100");

    Named<QPushButton>(m_window, "Upload")->click();
    EXPECT_EQ(view->Status(), "Histogram upload in progress");
    Advance(m_scheduler, 3000);
    EXPECT_EQ(view->Status(), "Histogram upload completed");
    const std::vector<std::int16_t> tenths = Dtm().Positioner().Histogram().Tenths();
    ASSERT_EQ(tenths.size(), 16u);
    for (int bin = 0; bin < 16; ++bin) {
        EXPECT_DOUBLE_EQ(view->GetDisplay()->barValue(bin), tenths[bin] / 10.0) << bin;
    }

    QTemporaryDir folder;
    m_dialogs.Answer(folder.path() + "/travel");
    Named<QPushButton>(m_window, "Save")->click();
    QFile bitmap(folder.path() + "/travel.bmp");
    ASSERT_TRUE(bitmap.open(QIODevice::ReadOnly));
    EXPECT_EQ(bitmap.read(2), "BM");
    EXPECT_EQ(m_dialogs.titles.back(), "Save Histogram As");

    // A frame of another buffer is not taken: three tries, then the upload says so.
    Dtm().Faults().frames.wrongType = true;
    Named<QPushButton>(m_window, "Upload")->click();
    Advance(m_scheduler, 10000);
    EXPECT_EQ(view->GetUpload().GetState(), CSegmentUpload::EState::LastFrameMissed);
    EXPECT_THAT(m_reports, ::testing::IsEmpty());
}

} // namespace
