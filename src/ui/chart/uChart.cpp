#include "uChart.h"

#include "BrowsableChart.h"
#include "ChartDataFile.h"
#include "LineSeries.h"
#include "ui/panel/LocaleText.h"
#include "ui/panel/WindowPlacement.h"
#include "ui_uChart.h"

#include <QCloseEvent>
#include <QTimer>
#include <algorithm>
#include <climits>

namespace {

struct SeriesAppearance {
    const char* title;
    const char* colour;
};

constexpr std::array<SeriesAppearance, ReadingHistory::kChannels> kSeriesAppearance{{
    {"Channel 1", "red"},
    {"Channel 2", "green"},
    {"Channel 3", "yellow"},
    {"Channel 4", "blue"},
    {"Channel 5", "white"},
    {"Channel 6", "grey"},
    {"Channel 7", "fuchsia"},
    {"Channel 8", "teal"},
}};

const std::string kControl = "Control";
const std::string kChart = "Chart";
// "Left2", "Top2", "Visible2".
constexpr int kWindowNumber = 2;

// The polling timer ticks once a second, so sampling faster shows nothing new.
constexpr int kShortestPeriodMs = 1000;
// The window of recent readings: 41 points, redrawn while the newest index is above 42.
constexpr int kWindowPoints = 41;
constexpr int kLastGrowingIndex = 42;

std::string SeriesName(int number) {
    return "Series" + std::to_string(number);
}

} // namespace

TForm2::TForm2(SettingsStore& settings, OperatorInteraction& operatorInteraction,
               const ReadingHistory& history, std::function<QString()> modelName,
               int pollCountdownSeconds, Clock& clock, QWidget* parent)
    : SecondaryForm(kWindowNumber, settings, operatorInteraction, parent),
      ui(std::make_unique<Ui::TForm2>()), settings_(settings), operator_(operatorInteraction),
      history_(history), modelName_(std::move(modelName)), clock_(clock) {
    ui->setupUi(this);

    for (std::size_t i = 0; i < series_.size(); ++i) {
        const QString title = QString::fromLatin1(kSeriesAppearance[i].title);
        const QColor colour(QString::fromLatin1(kSeriesAppearance[i].colour));
        const QString name = QString::fromStdString(SeriesName(static_cast<int>(i) + 1));
        series_[i] = ui->Chart1->AddSeries(title, colour);
        series_[i]->setObjectName(name);
        fileSeries_[i] = ui->FileChart->AddSeries(title, colour);
        fileSeries_[i]->setObjectName(QStringLiteral("File") + name);
    }
    Series1 = series_[0];
    Series2 = series_[1];
    Series3 = series_[2];
    Series4 = series_[3];
    Series5 = series_[4];
    Series6 = series_[5];
    Series7 = series_[6];
    Series8 = series_[7];

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(2000);
    connect(Timer1, &QTimer::timeout, this, &TForm2::Timer1Timer);

    const auto boxes = CheckBoxes();
    for (std::size_t i = 0; i < boxes.size(); ++i) {
        const int number = static_cast<int>(i) + 1;
        connect(boxes[i], &QCheckBox::toggled, this, [this, number] { CheckBoxClick(number); });
    }
    // Checking a radio button, by hand or from the settings, runs its handler.
    connect(ui->rbStyle2D, &QRadioButton::toggled, this, &TForm2::rbStyle2DClick);
    connect(ui->rbStyle3D, &QRadioButton::toggled, this, &TForm2::rbStyle3DClick);
    connect(ui->bClear, &QPushButton::clicked, this, &TForm2::bClearClick);
    connect(ui->bPrint, &QPushButton::clicked, this, &TForm2::bPrintClick);
    connect(ui->bData, &QPushButton::clicked, this, &TForm2::bDataClick);
    connect(ui->bOpenData, &QPushButton::clicked, this, &TForm2::bOpenDataClick);
    connect(ui->bLive, &QPushButton::clicked, this, &TForm2::bLiveClick);
    connect(ui->cbAutoScale, &QCheckBox::clicked, this, &TForm2::cbAutoScaleClick);
    // "Auto" while the whole file is shown.
    connect(ui->FileChart, &BrowsableChart::viewChanged, ui->cbAutoScale, &QCheckBox::setChecked);
    setAcceptDrops(true);

    FormCreate(pollCountdownSeconds);
}

TForm2::~TForm2() = default;

void TForm2::FormCreate(int pollCountdownSeconds) {
    const bool shown = WindowPlacement::Restore(*this, settings_, kWindowNumber);
    resize(ReadInteger(settings_, kControl, "Width2", width()),
           ReadInteger(settings_, kControl, "Height2", height()));
    if (shown) {
        show();
    }

    const auto boxes = CheckBoxes();
    for (std::size_t i = 0; i < series_.size(); ++i) {
        series_[i]->SetActive(
            ReadFlag(settings_, kChart, SeriesName(static_cast<int>(i) + 1), true));
    }
    for (std::size_t i = 0; i < series_.size(); ++i) {
        boxes[i]->setChecked(series_[i]->Active());
    }
    ui->cbAutoScale->setChecked(ReadFlag(settings_, kChart, "AutoScale", true));
    // The later of the two that is set wins: with neither stored the chart starts in 3D.
    ui->rbStyle2D->setChecked(ReadFlag(settings_, kChart, "Style2D", true));
    ui->rbStyle3D->setChecked(ReadFlag(settings_, kChart, "Style3D", true));

    SetSamplingPeriod(static_cast<int>(
        std::clamp<long long>(pollCountdownSeconds * 1000LL, kShortestPeriodMs, INT_MAX)));
    Timer1->start();
    BuildTitlePrefix();
}

void TForm2::SetSamplingPeriod(int milliseconds) {
    Timer1->setInterval(std::max(milliseconds, kShortestPeriodMs));
}

std::array<QCheckBox*, ReadingHistory::kChannels> TForm2::CheckBoxes() const {
    return {ui->CheckBox1, ui->CheckBox2, ui->CheckBox3, ui->CheckBox4,
            ui->CheckBox5, ui->CheckBox6, ui->CheckBox7, ui->CheckBox8};
}

QDateTime TForm2::Now() const {
    return ToLocalDateTime(clock_.Now());
}

void TForm2::BuildTitlePrefix() {
    chartTitlePrefix_ =
        modelName_() + QStringLiteral(" Start: ") + DateTimeToText(Now()) + QStringLiteral(" - ");
}

void TForm2::Timer1Timer() {
    const int n = ((history_.newest % ReadingHistory::kDepth) + ReadingHistory::kDepth) %
                  ReadingHistory::kDepth;
    const auto addNewest = [this, n] {
        for (std::size_t ch = 0; ch < series_.size(); ++ch) {
            series_[ch]->AddY(history_.At(static_cast<int>(ch) + 1, n));
        }
    };
    const auto clearAll = [this] {
        for (LineSeries* series : series_) {
            series->Clear();
        }
    };

    if (chartStartCounter_ < 2) {
        BuildTitlePrefix();
        clearAll();
        addNewest();
        ++chartStartCounter_;
    } else if (LiveAutoScale() || n <= kLastGrowingIndex) {
        addNewest();
    } else {
        // The 41 entries before the newest one.
        clearAll();
        for (int k = 0; k < kWindowPoints; ++k) {
            for (std::size_t ch = 0; ch < series_.size(); ++ch) {
                series_[ch]->AddY(history_.At(static_cast<int>(ch) + 1, n - kWindowPoints + k));
            }
        }
    }
    ui->Chart1->SetTitle(chartTitlePrefix_ + QStringLiteral(" Every: ") +
                         QString::number(Timer1->interval() / 1000) + QStringLiteral("s - End: ") +
                         DateTimeToText(Now()));
}

void TForm2::bClearClick() {
    chartStartCounter_ = 1;
    Timer1Timer();
}

void TForm2::bPrintClick() {
    const QString name = QStringLiteral("Chart ") + DateTimeStamp(Now()) + QStringLiteral(".wmf");
    if (!operator_.Ask(QStringLiteral("Saving Chart to ") + name)) {
        return;
    }
    QString error;
    if (!ShownChart().SaveMetafile(name, error)) {
        operator_.ReportError(QStringLiteral("Cannot create file \"%1\". %2").arg(name, error));
    }
}

void TForm2::bDataClick() {
    const QString name = QStringLiteral("Data ") + DateTimeStamp(Now()) + QStringLiteral(".csv");
    if (!operator_.Ask(QStringLiteral("Saving Chart data to ") + name)) {
        return;
    }
    // What was last drawn is what the operator sees once the pending redraw is done.
    LineChart& chart = ShownChart();
    chart.RedrawNow();
    // A file's points as shown, from the first; the live chart's from the second, after the one
    // its restart took.
    std::vector<PointKeys::Range> points;
    if (FileShown()) {
        points = chart.ShownPoints(*fileSeries_[0]);
    } else if (const long long last = chart.LastVisibleIndex(*Series1); last >= 1) {
        points = {{1, static_cast<std::size_t>(last)}};
    }
    const QString error =
        WriteChartData(name, chart.TitleFirstLine(), FileShown() ? fileSeries_ : series_, points);
    if (!error.isEmpty()) {
        operator_.ReportError(error);
    }
}

void TForm2::CheckBoxClick(int number) {
    const auto index = static_cast<std::size_t>(number) - 1;
    const bool shown = CheckBoxes()[index]->isChecked();
    series_[index]->SetActive(shown);
    fileSeries_[index]->SetActive(shown);
}

void TForm2::rbStyle2DClick() {
    ui->Chart1->SetView3D(!ui->rbStyle2D->isChecked());
    ui->FileChart->SetView3D(!ui->rbStyle2D->isChecked());
}

void TForm2::rbStyle3DClick() {
    ui->Chart1->SetView3D(ui->rbStyle3D->isChecked());
    ui->FileChart->SetView3D(ui->rbStyle3D->isChecked());
}

void TForm2::StoreOwnSettings() {
    WriteInteger(settings_, kControl, "Width2", width());
    WriteInteger(settings_, kControl, "Height2", height());
    for (std::size_t i = 0; i < series_.size(); ++i) {
        WriteFlag(settings_, kChart, SeriesName(static_cast<int>(i) + 1), series_[i]->Active());
    }
    WriteFlag(settings_, kChart, "AutoScale", LiveAutoScale());
    WriteFlag(settings_, kChart, "Style2D", ui->rbStyle2D->isChecked());
    WriteFlag(settings_, kChart, "Style3D", ui->rbStyle3D->isChecked());
}
