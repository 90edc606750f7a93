// SPDX-License-Identifier: GPL-3.0-or-later
#include "emus/frmRealityBoy.h"

#include "emus/frmControlConfig.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "base/SettingsKeys.h"
#include "platform/RomChooser.h"
#include "platform/Text.h"
#include "platform/Widgets.h"

namespace kestro::emus {

using platform::Named;
using platform::Q;
using platform::U8;

frmRealityBoy::frmRealityBoy(platform::Services& services, QWidget* parent)
    : frmFrontEnd(
          services,
          {"frmRealityBoy", "Reality Boy Frontend", "Reality Boy Frontend &Help...", "Reality Boy", "rboy vb_98"},
          parent) {
    BuildControls();
    ConnectHandlers();
    Form_Load();
}

frmRealityBoy::~frmRealityBoy() = default;

void frmRealityBoy::BuildControls() {
    QVBoxLayout* layout = Body();

    auto* frames = new QHBoxLayout();
    frames->addWidget(BuildChoices("fraDspMode", "3D Display Mode", "optDspMode", kRealityBoyDisplayModes.data(),
                                   kRealityBoyDisplayModes.size(), optDspMode.data(), m_dspModes),
                      0, Qt::AlignTop);
    frames->addWidget(BuildChoices("fraDisplay", "Display Resolution", "optDisplay", kRealityBoyResolutions.data(),
                                   kRealityBoyResolutions.size(), optDisplay.data(), m_displays),
                      0, Qt::AlignTop);
    frames->addWidget(BuildChoices("fraPalette", "Display Color Palette", "optPalette", kRealityBoyPalettes.data(),
                                   kRealityBoyPalettes.size(), optPalette.data(), m_palettes),
                      0, Qt::AlignTop);
    frames->addWidget(BuildGeneralOptions(), 0, Qt::AlignTop);
    layout->addLayout(frames);

    auto* buttons = new QGridLayout();
    cmdRunRealityBoy = Named(new QPushButton(QStringLiteral("Run Reality Boy..."), this), "cmdRunRealityBoy");
    cmdRunDebugMode = Named(new QPushButton(QStringLiteral("Run Reality Boy Debug Mode..."), this), "cmdRunDebugMode");
    cmdControlConfig = Named(new QPushButton(QStringLiteral("Control Configuration..."), this), "cmdControlConfig");
    cmdSaveSettings = Named(new QPushButton(QStringLiteral("Save Settings"), this), "cmdSaveSettings");
    cmdRevertSettings = Named(new QPushButton(QStringLiteral("Revert Settings"), this), "cmdRevertSettings");
    cmdRevertDefault = Named(new QPushButton(QStringLiteral("Revert to Default"), this), "cmdRevertDefault");
    buttons->addWidget(cmdRunRealityBoy, 0, 0);
    buttons->addWidget(cmdRunDebugMode, 0, 1);
    buttons->addWidget(cmdControlConfig, 0, 2);
    buttons->addWidget(cmdSaveSettings, 1, 0);
    buttons->addWidget(cmdRevertSettings, 1, 1);
    buttons->addWidget(cmdRevertDefault, 1, 2);
    layout->addLayout(buttons);

    AddHelp(RealityBoyHelpText());
}

QGroupBox* frmRealityBoy::BuildChoices(const char* name, const char* caption, const char* buttonName,
                                       const RealityBoyChoice* choices, std::size_t count, QRadioButton** buttons,
                                       QButtonGroup*& group) {
    auto* frame = Named(new QGroupBox(QString::fromLatin1(caption), this), name);
    auto* column = new QVBoxLayout(frame);
    group = new QButtonGroup(frame);
    for (std::size_t i = 0; i < count; ++i) {
        buttons[i] = new QRadioButton(Q(choices[i].caption), frame);
        buttons[i]->setObjectName(QStringLiteral("%1_%2").arg(QString::fromLatin1(buttonName)).arg(i));
        group->addButton(buttons[i], static_cast<int>(i));
        column->addWidget(buttons[i]);
    }
    return frame;
}

QGroupBox* frmRealityBoy::BuildGeneralOptions() {
    auto* frame = Named(new QGroupBox(QStringLiteral("General Options"), this), "fraOptions");
    auto* grid = new QGridLayout(frame);
    chkFlip = Named(new QCheckBox(QStringLiteral("Flip 3D Effects"), frame), "chkFlip");
    chkPalette = Named(new QCheckBox(QStringLiteral("Ignore VB Palette Info"), frame), "chkPalette");
    grid->addWidget(chkFlip, 0, 0, 1, 3);
    grid->addWidget(chkPalette, 1, 0, 1, 3);
    auto addNumber = [&](int row, const char* labelName, const char* caption, const char* barName, const char* boxName,
                         int maximum, QScrollBar*& bar, QLineEdit*& box) {
        grid->addWidget(Named(new QLabel(QString::fromLatin1(caption), frame), labelName), row, 0);
        box = Named(new QLineEdit(frame), boxName);
        box->setFixedWidth(48);
        bar = Named(new QScrollBar(Qt::Vertical, frame), barName);
        bar->setRange(0, maximum);
        platform::CountUpward(bar);
        bar->setFixedHeight(box->sizeHint().height());
        grid->addWidget(box, row, 1);
        grid->addWidget(bar, row, 2);
    };
    addNumber(2, "lblFrameSkip", "Frame Skip:", "vscFrameSkip", "txtFrameSkip", kRealityBoyMaxFrameSkip, vscFrameSkip,
              txtFrameSkip);
    addNumber(3, "lblBrightness", "Brightness:", "vscBrightness", "txtBrightness", kRealityBoyMaxBrightness,
              vscBrightness, txtBrightness);
    return frame;
}

void frmRealityBoy::ConnectHandlers() {
    m_rom->onChoice = [this](platform::RomChooser::Choice choice) {
        SetRunButtons(choice == platform::RomChooser::Choice::Valid);
    };
    connect(m_dspModes, &QButtonGroup::idClicked, this, &frmRealityBoy::optDspMode_Click);
    connect(vscFrameSkip, &QScrollBar::valueChanged, this, &frmRealityBoy::vscFrameSkip_Change);
    connect(vscBrightness, &QScrollBar::valueChanged, this, &frmRealityBoy::vscBrightness_Change);
    connect(txtFrameSkip, &QLineEdit::textChanged, this, &frmRealityBoy::txtFrameSkip_Change);
    connect(txtBrightness, &QLineEdit::textChanged, this, &frmRealityBoy::txtBrightness_Change);
    connect(cmdRunRealityBoy, &QPushButton::clicked, this, &frmRealityBoy::cmdRunRealityBoy_Click);
    connect(cmdRunDebugMode, &QPushButton::clicked, this, &frmRealityBoy::cmdRunDebugMode_Click);
    connect(cmdSaveSettings, &QPushButton::clicked, this, &frmRealityBoy::cmdSaveSettings_Click);
    connect(cmdRevertSettings, &QPushButton::clicked, this, &frmRealityBoy::cmdRevertSettings_Click);
    connect(cmdRevertDefault, &QPushButton::clicked, this, &frmRealityBoy::cmdRevertDefault_Click);
    connect(cmdControlConfig, &QPushButton::clicked, this, &frmRealityBoy::cmdControlConfig_Click);
}

void frmRealityBoy::Form_Load() {
    SetRunButtons(false);
    GetRegistry();
    ShowOptions(m_options);
    LoadRomChoice();
}

void frmRealityBoy::GetRegistry() {
    m_options = ReadRealityBoyOptions(m_services.settings);
    m_directory = base::ReadText(m_services.settings, base::keys::Programs[0].directory);
}

void frmRealityBoy::SaveRegistry() {
    SaveRealityBoyOptions(m_services.settings, m_options);
}

void frmRealityBoy::ShowOptions(const RealityBoyOptions& o) {
    optDisplay[static_cast<std::size_t>(o.resolution)]->setChecked(true);
    // The palette first, so that the display mode's rule has the last word.
    optPalette[static_cast<std::size_t>(o.palette)]->setChecked(true);
    optDspMode[static_cast<std::size_t>(o.displayMode)]->setChecked(true);
    optDspMode_Click(o.displayMode);
    chkPalette->setChecked(o.ignorePalette);
    chkFlip->setChecked(o.flip);
    for (auto [bar, value] : {std::pair{vscFrameSkip, o.frameSkip}, std::pair{vscBrightness, o.brightness}}) {
        const QSignalBlocker quiet(bar);
        bar->setValue(value);
    }
    txtFrameSkip->setText(QString::number(vscFrameSkip->value()));
    txtBrightness->setText(QString::number(vscBrightness->value()));
}

RealityBoyOptions frmRealityBoy::OptionsFromControls() const {
    RealityBoyOptions o;
    o.displayMode = std::max(m_dspModes->checkedId(), 0);
    o.resolution = std::max(m_displays->checkedId(), 0);
    o.palette = std::max(m_palettes->checkedId(), 0);
    o.frameSkip = vscFrameSkip->value();
    o.brightness = vscBrightness->value();
    o.ignorePalette = chkPalette->isChecked();
    o.flip = chkFlip->isChecked();
    return o;
}

void frmRealityBoy::SetRunButtons(bool enabled) {
    cmdRunRealityBoy->setEnabled(enabled);
    cmdRunDebugMode->setEnabled(enabled);
}

void frmRealityBoy::optDspMode_Click(int index) {
    const PaletteRule rule = ApplyDisplayMode(index, m_palettes->checkedId());
    for (std::size_t p = 0; p < optPalette.size(); ++p) optPalette[p]->setEnabled(rule.enabled[p]);
    optPalette[static_cast<std::size_t>(rule.palette)]->setChecked(true);
}

void frmRealityBoy::vscFrameSkip_Change(int value) {
    txtFrameSkip->setText(QString::number(value));
}

void frmRealityBoy::vscBrightness_Change(int value) {
    txtBrightness->setText(QString::number(value));
}

void frmRealityBoy::txtFrameSkip_Change() {
    NumericBox_Change(txtFrameSkip, vscFrameSkip, kRealityBoyMaxFrameSkip);
}

void frmRealityBoy::txtBrightness_Change() {
    NumericBox_Change(txtBrightness, vscBrightness, kRealityBoyMaxBrightness);
}

void frmRealityBoy::NumericBox_Change(QLineEdit* box, QScrollBar* bar, int upperBound) {
    const NumericEntry entry = NormaliseEntry(U8(box->text()), upperBound);
    if (Q(entry.text) != box->text()) {
        box->setText(Q(entry.text));  // comes back here once, with nothing left to change
        box->setCursorPosition(static_cast<int>(box->text().size()));
        return;
    }
    // Only moving the scroll bar writes its value back into the box.
    const QSignalBlocker quiet(bar);
    bar->setValue(entry.scrollValue);
}

void frmRealityBoy::cmdRunRealityBoy_Click() {
    Run(false);
}

void frmRealityBoy::cmdRunDebugMode_Click() {
    Run(true);
}

void frmRealityBoy::Run(bool debug) {
    if (!m_rom->HasRom()) {
        m_services.messages.Show(this, SelectRomMessage());
        return;
    }
    // The options as the controls show them, saved or not.
    const PreparedRun run = RealityBoyRun(m_directory, U8(m_rom->RomPath()), OptionsFromControls(), debug);
    Carry(run);
}

void frmRealityBoy::cmdSaveSettings_Click() {
    m_options = OptionsFromControls();
    SaveRegistry();
}

void frmRealityBoy::cmdRevertSettings_Click() {
    if (m_services.messages.Show(this, RevertToSavedQuestion()) == base::MessageResult::Yes) ShowOptions(m_options);
}

void frmRealityBoy::cmdRevertDefault_Click() {
    if (m_services.messages.Show(this, RevertToDefaultQuestion()) == base::MessageResult::Yes) {
        ShowOptions(RealityBoyOptions{});  // only the controls: Save Settings keeps them
    }
}

void frmRealityBoy::cmdControlConfig_Click() {
    frmControlConfig config(m_services, QStringLiteral("Reality Boy"), nullptr, this);
    config.exec();
}

}  // namespace kestro::emus
