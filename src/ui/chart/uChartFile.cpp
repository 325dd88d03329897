// The chart window showing a logged file in place of the live chart.
#include "BrowsableChart.h"
#include "ChartRecordSink.h"
#include "instrument/LoggedFileReader.h"
#include "uChart.h"
#include "ui/panel/LocaleText.h"
#include "ui_uChart.h"

#include <QCoreApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLocale>
#include <QMimeData>
#include <cerrno>
#include <filesystem>
#include <fstream>
#include <system_error>

namespace {

const QString kLiveCaption = QStringLiteral("Real Time Chart");

// The locale's decimal separator where it is one character of the files' own, otherwise '.'.
char DecimalSeparator() {
    const QString point = QLocale().decimalPoint();
    return point.size() == 1 && point[0].unicode() < 0x80 ? static_cast<char>(point[0].unicode())
                                                          : '.';
}

// The date and the time, midnight too: the file's first and last record.
QString TimeText(std::int64_t seconds) {
    const QDateTime moment = QDateTime::fromSecsSinceEpoch(seconds, Qt::UTC);
    return FormatDateTime(QStringLiteral("dd/mm/yy"), moment) + QLatin1Char(' ') +
           LongTimeText(moment);
}

// The program's other work (polling, logging, the live chart) goes on while a big file is read;
// the operator's clicks wait for the end.
void LetOtherWorkRun() {
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

} // namespace

bool TForm2::FileShown() const {
    return ui->FileChart->isVisibleTo(this);
}

LineChart& TForm2::ShownChart() const {
    return FileShown() ? static_cast<LineChart&>(*ui->FileChart) : *ui->Chart1;
}

bool TForm2::LiveAutoScale() const {
    return FileShown() ? liveAutoScale_ : ui->cbAutoScale->isChecked();
}

void TForm2::cbAutoScaleClick() {
    if (FileShown() && ui->cbAutoScale->isChecked()) {
        ui->FileChart->ShowWhole();
    }
}

void TForm2::bOpenDataClick() {
    const QString path = operator_.OpenFile(QStringLiteral("Logged data (*.csv)|*.csv"));
    if (!path.isEmpty()) {
        ShowFile(path);
    }
}

void TForm2::dragEnterEvent(QDragEnterEvent* event) {
    const QList<QUrl> urls = event->mimeData()->urls();
    if (urls.size() == 1 && urls[0].isLocalFile()) {
        event->acceptProposedAction();
    }
}

void TForm2::dropEvent(QDropEvent* event) {
    const QList<QUrl> urls = event->mimeData()->urls();
    if (urls.size() == 1 && urls[0].isLocalFile()) {
        event->acceptProposedAction();
        ShowFile(urls[0].toLocalFile());
    }
}

void TForm2::ShowFile(const QString& path) {
    const QString name = QFileInfo(path).fileName();
    std::ifstream input(std::filesystem::path(path.toStdU16String()), std::ios::binary);
    if (!input) {
        const std::string reason = std::error_code(errno, std::generic_category()).message();
        operator_.ReportError(QStringLiteral("Cannot open file \"%1\". %2")
                                  .arg(path, QString::fromLocal8Bit(reason.c_str())));
        return;
    }
    ChartRecordSink sink(ui->FileChart->Keys(), fileSeries_, LetOtherWorkRun);
    // The chart shows the file once it is read whole, not a part of it on the way.
    ui->FileChart->setUpdatesEnabled(false);
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    const LoggedFileSummary summary = ReadLoggedFile(input, DecimalSeparator(), sink);
    sink.Finish();
    QGuiApplication::restoreOverrideCursor();
    ui->FileChart->setUpdatesEnabled(true);

    if (!summary.kind && summary.readError) {
        operator_.ReportError(QStringLiteral("Cannot read file \"%1\".").arg(path));
        return;
    }
    if (!summary.kind) {
        operator_.ReportError(
            QStringLiteral("\"%1\" is not a file of logged data. Expected %2.")
                .arg(name, QString::fromLatin1(kLoggedFileLayouts.data(),
                                               static_cast<qsizetype>(kLoggedFileLayouts.size()))));
        return;
    }
    EnterFileView(name, summary);
    if (summary.readError) {
        operator_.ReportError(QStringLiteral("\"%1\" could not be read to its end; the chart shows "
                                             "the %2 records before the error.")
                                  .arg(name)
                                  .arg(summary.records));
    }
    if (summary.skippedLines > 0) {
        operator_.Notify(
            QStringLiteral("%1 of \"%2\" could not be read and %3 not shown; the "
                           "first is line %4.")
                .arg(summary.skippedLines == 1
                         ? QStringLiteral("1 line")
                         : QStringLiteral("%1 lines").arg(summary.skippedLines),
                     name, summary.skippedLines == 1 ? QStringLiteral("is") : QStringLiteral("are"))
                .arg(summary.firstSkippedLine));
    }
}

void TForm2::EnterFileView(const QString& name, const LoggedFileSummary& summary) {
    if (*summary.kind == LoggedFileKind::ChartData) {
        ui->FileChart->UsePointNumberAxis();
    } else {
        ui->FileChart->UseTimeAxis(LocaleDateSeparator(), LocaleTimeSeparator());
    }
    ui->FileChart->SetTitle(FileTitle(name, summary));
    if (!FileShown()) {
        liveAutoScale_ = ui->cbAutoScale->isChecked();
        ui->Chart1->hide();
        ui->FileChart->show();
    }
    ui->cbAutoScale->setChecked(true);
    ui->FileChart->ShowWhole();
    ui->FileChart->RedrawNow();
    ui->bClear->setEnabled(false);
    ui->bLive->setEnabled(true);
    setWindowTitle(QStringLiteral("Chart - ") + name);
}

QString TForm2::FileTitle(const QString& name, const LoggedFileSummary& summary) const {
    QString title = name + QStringLiteral(" - ");
    if (*summary.kind != LoggedFileKind::ChartData) {
        title += QStringLiteral("First: %1 - Last: %2 - ")
                     .arg(TimeText(summary.firstTime), TimeText(summary.lastTime));
    }
    return title + (summary.records == 1 ? QStringLiteral("1 record")
                                         : QStringLiteral("%1 records").arg(summary.records));
}

void TForm2::bLiveClick() {
    if (!FileShown()) {
        return;
    }
    ui->FileChart->hide();
    ui->Chart1->show();
    // A month of readings is no longer kept once the live chart is back.
    ui->FileChart->Keys().Clear();
    for (LineSeries* series : fileSeries_) {
        series->Release();
    }
    ui->cbAutoScale->setChecked(liveAutoScale_);
    ui->bClear->setEnabled(true);
    ui->bLive->setEnabled(false);
    setWindowTitle(kLiveCaption);
}
