// SPDX-License-Identifier: GPL-3.0-or-later
#include "emus/frmVirtualE.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSlider>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

#include "base/NumericText.h"
#include "base/SettingsKeys.h"
#include "emus/EmulatorRun.h"
#include "emus/FrontEndMessages.h"
#include "emus/RunLogMessages.h"
#include "emus/frmControlConfig.h"
#include "emus/frmFrontEnd.h"
#include "help/frmHelp.h"
#include "platform/QtServices.h"
#include "platform/Text.h"
#include "platform/Widgets.h"

namespace kestro::emus {

using base::MessageResult;
using platform::Named;
using platform::Q;
using platform::U8;

namespace {

constexpr int kMaxFrames = 32767;

// Our own picture for each brightness step: a sun on a dark screen, dim and
// small at -5, bright and rayed at 5.
QPixmap BrightnessPicture(int step) {
    QPixmap picture(44, 30);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(96, 96, 96), 1));
    painter.setBrush(Qt::black);
    painter.drawRoundedRect(QRectF(0.5, 0.5, 43, 29), 4, 4);
    const QColor sun(40 + step * 21, step * 6, 0);
    const QPointF centre(22, 15);
    painter.setPen(QPen(sun, 2, Qt::SolidLine, Qt::RoundCap));
    for (int ray = 0; ray < 8; ++ray) {
        const double angle = ray * M_PI / 4;
        const QPointF direction(std::cos(angle), std::sin(angle));
        painter.drawLine(centre + direction * 7.0, centre + direction * (7.0 + step * 0.6));
    }
    painter.setPen(Qt::NoPen);
    painter.setBrush(sun);
    painter.drawEllipse(centre, 3.0 + step * 0.2, 3.0 + step * 0.2);
    return picture;
}

void Select(QButtonGroup* group, int index) {
    // An index the group lacks leaves no option chosen, so that the stored
    // number is kept until the user picks one.
    if (QAbstractButton* option = group->button(index)) {
        option->setChecked(true);
        return;
    }
    group->setExclusive(false);
    for (QAbstractButton* option : group->buttons()) option->setChecked(false);
    group->setExclusive(true);
}

// The chosen option's index; with none chosen, the number the group was shown.
int Selected(const QButtonGroup* group, int shown) {
    return group->checkedId() > 0 ? group->checkedId() : shown;
}

// A control still at the place a number outside its range put it keeps that number.
template <typename Control>
int Kept(const Control* control, int shown) {
    const int value = control->value();
    return value == std::clamp(shown, control->minimum(), control->maximum()) ? shown : value;
}

}  // namespace

frmVirtualE::frmVirtualE(platform::Services& services, QWidget* parent) : QDialog(parent), m_services(services) {
    setObjectName(QStringLiteral("frmVirtualE"));
    setWindowTitle(QStringLiteral("Virtual-E Frontend"));
    BuildControls();
    platform::KeepOnlyDesignedDefault(this);
    BuildMenus();
    ConnectHandlers();
    Form_Load();
}

void frmVirtualE::BuildControls() {
    auto* layout = new QGridLayout(this);
    layout->addWidget(BuildOptionFrame(optDisplay, "fraDisplay", "Display Thread", "optDisplay",
                                       {"Idle Priority", "Normal Priority", "High Priority", "Real Time Priority"}),
                      0, 0);
    layout->addWidget(BuildOptionFrame(optEmulator, "fraEmulator", "Emulator Thread", "optEmulator",
                                       {"Idle Priority", "Normal Priority", "High Priority", "Real Time Priority"}),
                      0, 1);
    layout->addWidget(BuildCoreFrame(), 0, 2);
    layout->addWidget(BuildGeneralFrame(), 1, 0, 1, 2);

    auto* buttons = new QVBoxLayout();
    cmdRunVirtualE = platform::AddButton(this, buttons, "cmdRunVirtualE", "Run Virtual-E...");
    cmdSaveSettings = platform::AddButton(this, buttons, "cmdSaveSettings", "Save Settings");
    cmdRevertSettings = platform::AddButton(this, buttons, "cmdRevertSettings", "Revert Settings");
    cmdRevertDefault = platform::AddButton(this, buttons, "cmdRevertDefault", "Revert to Default");
    cmdControlConfig = platform::AddButton(this, buttons, "cmdControlConfig", "Control Configuration...");
    buttons->addStretch();
    layout->addLayout(buttons, 1, 2);

    txtHelp = Named(new QPlainTextEdit(this), "txtHelp");
    txtHelp->setReadOnly(true);
    txtHelp->setPlainText(platform::DisplayText(Q(VirtualEHelpText())));
    txtHelp->hide();
}

QGroupBox* frmVirtualE::BuildOptionFrame(OptionGroup& group, const char* frame, const char* frameTitle,
                                         const char* name, std::initializer_list<const char*> captions) {
    auto* box = Named(new QGroupBox(QString::fromLatin1(frameTitle), this), frame);
    auto* column = new QVBoxLayout(box);
    group.group = new QButtonGroup(box);
    int index = 1;
    for (const char* caption : captions) {
        auto* option = new QRadioButton(QString::fromLatin1(caption), box);
        option->setObjectName(QString::fromLatin1(name) + QLatin1Char('_') + QString::number(index));
        group.group->addButton(option, index);
        group.options[static_cast<std::size_t>(index)] = option;
        column->addWidget(option);
        ++index;
    }
    column->addStretch();
    return box;
}

void frmVirtualE::BuildNumberEntry(QGridLayout* grid, int row, QLineEdit*& box, QScrollBar*& bar, const char* label,
                                   const char* boxName, const char* barName, const char* labelName) {
    grid->addWidget(Named(new QLabel(QString::fromLatin1(label), this), labelName), row, 0);
    box = Named(new QLineEdit(this), boxName);
    box->setFixedWidth(56);
    grid->addWidget(box, row, 1);
    bar = Named(new QScrollBar(Qt::Vertical, this), barName);
    bar->setRange(1, kMaxFrames);
    platform::CountUpward(bar);
    bar->setFixedHeight(box->sizeHint().height());
    grid->addWidget(bar, row, 2);
}

QGroupBox* frmVirtualE::BuildCoreFrame() {
    auto* box = Named(new QGroupBox(QStringLiteral("Core Emulation"), this), "fraCoreEmulation");
    auto* column = new QVBoxLayout(box);
    auto* grid = new QGridLayout();
    column->addLayout(grid);
    BuildNumberEntry(grid, 0, txtFrameSkip, vscFrameSkip, "Frame Skip:", "txtFrameSkip", "vscFrameSkip",
                     "lblFrameSkip");
    BuildNumberEntry(grid, 1, txtFps, vscFps, "FPS:", "txtFps", "vscFps", "lblFps");
    grid->setColumnStretch(3, 1);
    chkIgnoreDisplayIrq = Named(new QCheckBox(QStringLiteral("Ignore Display IRQ"), box), "chkIgnoreDisplayIrq");
    chkIgnoreTimerIrq = Named(new QCheckBox(QStringLiteral("Ignore Timer IRQ"), box), "chkIgnoreTimerIrq");
    chkIgnoreControlIrq = Named(new QCheckBox(QStringLiteral("Ignore Control IRQ"), box), "chkIgnoreControlIrq");
    for (QCheckBox* check : {chkIgnoreDisplayIrq, chkIgnoreTimerIrq, chkIgnoreControlIrq}) column->addWidget(check);
    column->addStretch();
    return box;
}

QGroupBox* frmVirtualE::BuildGeneralFrame() {
    auto* box = Named(new QGroupBox(QStringLiteral("General Options"), this), "fraGeneralOptions");
    auto* grid = new QGridLayout(box);
    chkIgnoreRomPalette = Named(new QCheckBox(QStringLiteral("Ignore VB Palette"), box), "chkIgnoreRomPalette");
    chkEnableSound = Named(new QCheckBox(QStringLiteral("Enable Sound"), box), "chkEnableSound");
    chkEnableSram = Named(new QCheckBox(QStringLiteral("Enable SRAM"), box), "chkEnableSram");
    grid->addWidget(chkIgnoreRomPalette, 0, 0);
    grid->addWidget(chkEnableSound, 1, 0);
    grid->addWidget(chkEnableSram, 2, 0);
    optStyle.group = new QButtonGroup(box);
    int index = 1;
    for (const char* caption : {"Standard", "Small", "Full Screen"}) {
        auto* option = new QRadioButton(QString::fromLatin1(caption), box);
        option->setObjectName(QStringLiteral("optStyle_") + QString::number(index));
        optStyle.group->addButton(option, index);
        optStyle.options[static_cast<std::size_t>(index)] = option;
        grid->addWidget(option, index - 1, 1);
        ++index;
    }
    grid->addWidget(Named(new QLabel(QStringLiteral("Brightness:"), box), "lblBrightness"), 3, 0);
    sliBrightness = Named(new QSlider(Qt::Horizontal, box), "sliBrightness");
    sliBrightness->setRange(-5, 5);
    sliBrightness->setSingleStep(1);
    sliBrightness->setPageStep(5);
    sliBrightness->setTickPosition(QSlider::TicksBelow);
    // The eleven pictures share one place beside the slider, never over its
    // ends; the slider shows one of them.
    auto* row = new QHBoxLayout();
    row->addWidget(sliBrightness, 1);
    grid->addLayout(row, 4, 0, 1, 2);
    for (std::size_t i = 0; i < imgBrightness.size(); ++i) {
        imgBrightness[i] = new QLabel(box);
        imgBrightness[i]->setObjectName(QStringLiteral("imgBrightness_") + QString::number(i));
        imgBrightness[i]->setPixmap(BrightnessPicture(static_cast<int>(i)));
        row->addWidget(imgBrightness[i], 0, Qt::AlignRight);
    }
    return box;
}

void frmVirtualE::BuildMenus() {
    auto* bar = new QMenuBar(this);
    layout()->setMenuBar(bar);
    mnuFile = platform::AddMenu(bar, "mnuFile", "&File");
    mnuFileBack = platform::AddAction(mnuFile, "mnuFileBack", "&Back to main menu");
    mnuHelp = platform::AddMenu(bar, "mnuHelp", "&Help");
    mnuHelpHelp = platform::AddAction(mnuHelp, "mnuHelpHelp", "Virtual-E Frontend &Help...");
    mnuHelpLog = platform::AddAction(mnuHelp, "mnuHelpLog", "Last Run's &Log...");
}

void frmVirtualE::ConnectHandlers() {
    connect(cmdRunVirtualE, &QPushButton::clicked, this, &frmVirtualE::cmdRunVirtualE_Click);
    connect(cmdSaveSettings, &QPushButton::clicked, this, &frmVirtualE::cmdSaveSettings_Click);
    connect(cmdRevertSettings, &QPushButton::clicked, this, &frmVirtualE::cmdRevertSettings_Click);
    connect(cmdRevertDefault, &QPushButton::clicked, this, &frmVirtualE::cmdRevertDefault_Click);
    connect(cmdControlConfig, &QPushButton::clicked, this, &frmVirtualE::cmdControlConfig_Click);
    connect(sliBrightness, &QSlider::valueChanged, this, &frmVirtualE::sliBrightness_Change);
    connect(vscFrameSkip, &QScrollBar::valueChanged, this, &frmVirtualE::vscFrameSkip_Change);
    connect(txtFrameSkip, &QLineEdit::textChanged, this, &frmVirtualE::txtFrameSkip_Change);
    connect(vscFps, &QScrollBar::valueChanged, this, &frmVirtualE::vscFps_Change);
    connect(txtFps, &QLineEdit::textChanged, this, &frmVirtualE::txtFps_Change);
    connect(mnuFileBack, &QAction::triggered, this, &frmVirtualE::mnuFileBack_Click);
    connect(mnuHelpHelp, &QAction::triggered, this, &frmVirtualE::mnuHelpHelp_Click);
    connect(mnuHelpLog, &QAction::triggered, this,
            [this] { ShowLastRunLog(m_services, this, "Virtual-E", m_lastLog, {"virtuale"}); });
}

void frmVirtualE::Form_Load() {
    GetAnyRegistry();
    ShowOptions(m_options);
    UpdateBrightnessPictures();
    setFixedSize(sizeHint());
}

void frmVirtualE::GetAnyRegistry() {
    m_directory =
        base::ReadText(m_services.settings, base::keys::Programs[static_cast<int>(base::Program::VirtualE)].directory);
    m_options = ReadVirtualEOptions(m_services.registry);
}

bool frmVirtualE::SaveAnyRegistry() {
    return platform::WriteRegistryOrShowError(m_services.messages, this,
                                              [this] { SaveVirtualEOptions(m_services.registry, m_options); });
}

void frmVirtualE::ShowOptions(const VirtualEOptions& o) {
    m_shown = o;
    Select(optDisplay.group, o.display);
    Select(optEmulator.group, o.cpu);
    Select(optStyle.group, o.style);
    sliBrightness->setValue(o.brightness);
    vscFrameSkip->setValue(o.frameSkip);
    vscFps->setValue(o.fps);
    // The boxes follow their scroll bars even when the value did not change.
    vscFrameSkip_Change();
    vscFps_Change();
    chkIgnoreDisplayIrq->setChecked(o.ignoreDisplayIrq);
    chkIgnoreTimerIrq->setChecked(o.ignoreTimerIrq);
    chkIgnoreControlIrq->setChecked(o.ignoreControlIrq);
    chkEnableSram->setChecked(o.enableSram);
    chkIgnoreRomPalette->setChecked(o.ignoreRomPalette);
    chkEnableSound->setChecked(o.enableSound);
}

VirtualEOptions frmVirtualE::ControlOptions() const {
    VirtualEOptions o;
    o.display = Selected(optDisplay.group, m_shown.display);
    o.cpu = Selected(optEmulator.group, m_shown.cpu);
    o.style = Selected(optStyle.group, m_shown.style);
    o.brightness = Kept(sliBrightness, m_shown.brightness);
    o.frameSkip = Kept(vscFrameSkip, m_shown.frameSkip);
    o.fps = Kept(vscFps, m_shown.fps);
    o.ignoreDisplayIrq = chkIgnoreDisplayIrq->isChecked();
    o.ignoreTimerIrq = chkIgnoreTimerIrq->isChecked();
    o.ignoreControlIrq = chkIgnoreControlIrq->isChecked();
    o.enableSram = chkEnableSram->isChecked();
    o.ignoreRomPalette = chkIgnoreRomPalette->isChecked();
    o.enableSound = chkEnableSound->isChecked();
    return o;
}

void frmVirtualE::UpdateBrightnessPictures() {
    const int value = sliBrightness->value();
    for (std::size_t i = 0; i < imgBrightness.size(); ++i) {
        imgBrightness[i]->setVisible(static_cast<int>(i) == value + 5);
        imgBrightness[i]->setToolTip(QString::number(value));
    }
}

void frmVirtualE::NumberEntry_Change(QLineEdit* box, QScrollBar* bar) {
    const QString normalised = Q(base::NormalisedNumberText(U8(box->text()), 1, kMaxFrames));
    if (normalised != box->text()) {
        box->setText(normalised);  // comes back here with the settled text
        return;
    }
    box->setCursorPosition(static_cast<int>(normalised.size()));
    // An emptied box stays empty; its scroll bar keeps to its range.
    const QSignalBlocker quiet(bar);
    bar->setValue(static_cast<int>(std::lround(base::NumericValue(U8(normalised)))));
}

void frmVirtualE::cmdRunVirtualE_Click() {
    const VirtualEOptions controls = ControlOptions();
    if (controls == m_options) {
        if (!SaveAnyRegistry()) return;  // the stored values, written again
    } else if (m_services.messages.Show(this, SaveSettingChangesQuestion()) == MessageResult::Ok) {
        m_options = controls;
        if (!SaveAnyRegistry()) return;
    }
    // (Cancel starts the emulator on the values last stored.)
    base::TakeLastStart();
    const base::LaunchResult started = m_services.processes.Start(VirtualELaunch(m_directory));
    if (!started.started) m_services.messages.Show(this, StartFailedMessage("Virtual-E", started.error));
    const base::StartRecord record = base::TakeLastStart();
    if (!record.log.empty()) m_lastLog = record.log;
    WatchQuickFailure(m_services, this, "Virtual-E", record);
}

void frmVirtualE::cmdSaveSettings_Click() {
    m_options = ControlOptions();
    SaveAnyRegistry();
}

void frmVirtualE::cmdRevertSettings_Click() {
    if (m_services.messages.Show(this, RevertToSavedQuestion()) != MessageResult::Yes) return;
    ShowOptions(m_options);
}

void frmVirtualE::cmdRevertDefault_Click() {
    if (m_services.messages.Show(this, RevertToDefaultQuestion()) != MessageResult::Yes) return;
    ShowOptions(VirtualEOptions{});
}

void frmVirtualE::cmdControlConfig_Click() {
    frmControlConfig config(m_services, QStringLiteral("Virtual-E"), nullptr, this);
    config.exec();
}

void frmVirtualE::sliBrightness_Change() {
    UpdateBrightnessPictures();
}

void frmVirtualE::vscFrameSkip_Change() {
    txtFrameSkip->setText(QString::number(vscFrameSkip->value()));
}

void frmVirtualE::txtFrameSkip_Change() {
    NumberEntry_Change(txtFrameSkip, vscFrameSkip);
}

void frmVirtualE::vscFps_Change() {
    txtFps->setText(QString::number(vscFps->value()));
}

void frmVirtualE::txtFps_Change() {
    NumberEntry_Change(txtFps, vscFps);
}

void frmVirtualE::mnuFileBack_Click() {
    close();
}

void frmVirtualE::mnuHelpHelp_Click() {
    help::ShowHelpTopic(m_services, this, QStringLiteral("Virtual-E"), Q(VirtualEHelpText()));
}

}  // namespace kestro::emus
