#include "EmfReader.h"
#include "ui/chart/LineChart.h"
#include "ui/chart/MetafilePaintDevice.h"
#include "ui/chart/MetafilePaintEngine.h"

#include <QPainter>
#include <QTemporaryDir>
#include <QTest>
#include <cmath>

namespace {

constexpr int kUnits = MetafilePaintEngine::kUnitsPerPixel;

bool Within(const QPolygon& points, const QRect& area) {
    return std::all_of(points.begin(), points.end(),
                       [&](const QPoint& point) { return area.contains(point); });
}

} // namespace

class MetafileTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir directory;
    QString PathOf(const QString& name) const { return directory.filePath(name); }

private slots:
    void chartPictureHoldsEveryShownLineTheTitleAndTheLegend() {
        LineChart chart;
        chart.resize(640, 420);
        const QList<QColor> colours{QColor("red"), QColor("blue"), QColor("teal")};
        std::vector<LineSeries*> series;
        for (int i = 0; i < 3; ++i) {
            series.push_back(chart.AddSeries(QString("Channel %1").arg(i + 1), colours[i]));
            for (int k = 0; k < 50; ++k) {
                series.back()->AddY(static_cast<float>(i * 10 + std::sin(k * 0.3)));
            }
        }
        series[1]->SetActive(false);
        chart.SetTitle("V630 Start: 07/12/26 10:15:02 -  Every: 2s - End: 07/12/26 10:20:02");

        for (const bool view3D : {false, true}) {
            chart.SetView3D(view3D);
            const QString path = PathOf(view3D ? "3d.wmf" : "2d.wmf");
            QString error;
            QVERIFY2(chart.SaveMetafile(path, error), qPrintable(error));
            const EmfPicture picture = ReadEmf(path);
            QVERIFY2(picture.fault.isEmpty(), qPrintable(picture.fault));
            const auto lines = PolylinesOf(picture);
            for (int i = 0; i < 3; ++i) {
                const QColor drawn = view3D ? colours[i].darker(150) : colours[i];
                const bool found = std::any_of(lines.begin(), lines.end(), [&](const EmfLine& l) {
                    return l.points.size() == 50 && l.colour.rgb() == drawn.rgb();
                });
                QCOMPARE(found, series[i]->Active());
            }
            const QStringList texts = TextsOf(picture);
            QVERIFY(texts.contains(chart.TitleFirstLine()));
            QVERIFY(texts.contains("Channel 1"));
            QVERIFY(!texts.contains("Channel 2"));
        }
    }

    // Lines, fills and texts are cut to the clip rectangle, which may be set under a transform
    // and switched off and on again.
    void shapesAreCutToTheClip() {
        const QString path = PathOf("clip.wmf");
        {
            MetafilePaintDevice picture(path, QSize(200, 100));
            QPainter painter(&picture);
            painter.translate(10, 10);
            painter.setClipRect(QRectF(0, 0, 50, 50)); // 10..60 on the picture
            painter.setPen(QPen(QColor("red"), 0));
            painter.drawLine(QLineF(-10, 20, 150, 20));
            painter.fillRect(QRectF(30, 30, 100, 100), QColor("blue"));
            painter.drawText(QPointF(100, 40), "outside");
            painter.drawText(QPointF(5, 40), "inside");
            painter.setClipping(false);
            painter.setPen(QPen(QColor("green"), 0));
            painter.drawLine(QLineF(-10, 80, 150, 80));
            painter.setClipping(true);
            painter.setPen(QPen(QColor("yellow"), 0));
            painter.drawLine(QLineF(20, -10, 20, 150));
        }
        const EmfPicture picture = ReadEmf(path);
        QVERIFY2(picture.fault.isEmpty(), qPrintable(picture.fault));
        const QRect clip(10 * kUnits, 10 * kUnits, 50 * kUnits + 1, 50 * kUnits + 1);
        const auto lines = PolylinesOf(picture);
        QCOMPARE(lines.size(), std::size_t{3});
        QCOMPARE(lines[0].colour, QColor("red"));
        QVERIFY(Within(lines[0].points, clip));
        QCOMPARE(lines[0].points.first(), QPoint(10 * kUnits, 30 * kUnits));
        QCOMPARE(lines[1].colour, QColor("green"));
        QCOMPARE(lines[1].points.last(), QPoint(160 * kUnits, 90 * kUnits));
        QCOMPARE(lines[2].colour, QColor("yellow"));
        QVERIFY(Within(lines[2].points, clip));
        QCOMPARE(TextsOf(picture), QStringList{"inside"});
    }

    void aPictureThatCannotBeWrittenSaysWhy() {
        MetafilePaintDevice picture(PathOf("missing/picture.wmf"), QSize(100, 100));
        QPainter painter;
        QVERIFY(!painter.begin(&picture));
        QVERIFY(!picture.Error().isEmpty());

        LineChart chart;
        QString error;
        QVERIFY(!chart.SaveMetafile(PathOf("missing/chart.wmf"), error));
        QVERIFY(!error.isEmpty());
        QVERIFY(!QFile::exists(PathOf("missing/chart.wmf")));
    }
};

QTEST_MAIN(MetafileTest)
#include "test_Metafile.moc"
