// SPDX-License-Identifier: GPL-3.0-or-later
#include "emus/frmMednafen.h"

#include <QAction>
#include <QCheckBox>
#include <QClipboard>
#include <QColorDialog>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QVBoxLayout>

#include "base/SettingsKeys.h"
#include "emus/ProgramFiles.h"
#include "platform/PathLabel.h"
#include "platform/RomChooser.h"
#include "platform/Swatch.h"
#include "platform/Text.h"
#include "platform/Widgets.h"

namespace kestro::emus {

using base::MessageResult;
using platform::Named;
using platform::Q;
using platform::U8;
namespace mk = mednafen_keys;

namespace {

QString ControlName(const char* prefix, std::string_view name) {
    return QString::fromLatin1(prefix) + Q(name);
}

bool InThreeDFrame(std::string_view key) {
    return key.starts_with("vb.3d") || key.starts_with("vb.anaglyph") || key == mk::kDefaultColour ||
           key == mk::kSeparation;
}

QColor ColourOf(const std::string& value) {
    const auto rgb = ParseMednafenColour(value);
    return rgb ? QColor::fromRgb(static_cast<QRgb>(*rgb)) : QColor();
}

}  // namespace

frmMednafen::frmMednafen(platform::Services& services, QWidget* parent)
    : frmFrontEnd(services, {"frmMednafen", "Mednafen Frontend", "Mednafen Frontend &Help...", "Mednafen", "mednafen"},
                  parent) {
    BuildControls();
    ConnectHandlers();
    Form_Load();
}

frmMednafen::~frmMednafen() = default;

void frmMednafen::BuildControls() {
    QVBoxLayout* layout = Body();
    auto* file = new QHBoxLayout();
    file->addWidget(Named(new QLabel(QStringLiteral("Settings file:"), this), "lblSettingsFile1"));
    lblSettingsFile = Named(new platform::PathLabel(this), "lblSettingsFile");
    file->addWidget(lblSettingsFile, 1);
    layout->addLayout(file);

    m_rows.reserve(MednafenSettings().size());
    auto* frames = new QHBoxLayout();
    frames->addWidget(BuildSettingsFrame("fra3D", "3D Display", true), 0, Qt::AlignTop);
    frames->addWidget(BuildSettingsFrame("fraEmulation", "Emulation and Window", false), 0, Qt::AlignTop);
    layout->addLayout(frames);

    auto* command = new QHBoxLayout();
    command->addWidget(Named(new QLabel(QStringLiteral("Command line:"), this), "lblCommandLine"));
    txtCommandLine = Named(new QLineEdit(this), "txtCommandLine");
    txtCommandLine->setReadOnly(true);
    txtCommandLine->setPlaceholderText(QStringLiteral("Select a ROM image to run."));
    txtCommandLine->setMinimumWidth(480);
    command->addWidget(txtCommandLine, 1);
    cmdCopyCommand = platform::AddButton(this, command, "cmdCopyCommand", "Copy");
    layout->addLayout(command);

    auto* buttons = new QHBoxLayout();
    cmdRunMednafen = platform::AddButton(this, buttons, "cmdRunMednafen", "Run Mednafen...");
    cmdSaveSettings = platform::AddButton(this, buttons, "cmdSaveSettings", "Save Settings");
    cmdRevertSettings = platform::AddButton(this, buttons, "cmdRevertSettings", "Revert Settings");
    cmdRevertDefault = platform::AddButton(this, buttons, "cmdRevertDefault", "Revert to Default");
    cmdHelp = platform::AddButton(this, buttons, "cmdHelp", "Help...");
    layout->addLayout(buttons);

    AddHelp(MednafenHelpText());
}

QGroupBox* frmMednafen::BuildSettingsFrame(const char* name, const char* caption, bool threeD) {
    auto* frame = Named(new QGroupBox(QString::fromLatin1(caption), this), name);
    auto* grid = new QGridLayout(frame);
    for (const MednafenSetting& s : MednafenSettings()) {
        if (s.sameAs.empty() && InThreeDFrame(s.key) == threeD) AddSettingRow(frame, grid, s);
    }
    return frame;
}

// One setting's controls on the next row of the frame, named after the setting.
void frmMednafen::AddSettingRow(QGroupBox* frame, QGridLayout* grid, const MednafenSetting& s) {
    SettingRow row;
    row.setting = &s;
    const int r = grid->rowCount();
    const QString help = Q(s.help);
    if (s.kind == MednafenKind::Flag) {
        row.flag = new QCheckBox(Q(s.caption), frame);
        row.flag->setObjectName(ControlName("chk", s.name));
        row.flag->setToolTip(help);
        grid->addWidget(row.flag, r, 0, 1, 4);
        m_rows.push_back(row);
        return;
    }
    row.label = new QLabel(Q(s.caption), frame);
    row.label->setObjectName(ControlName("lbl", s.name));
    grid->addWidget(row.label, r, 0);
    QWidget* control = nullptr;
    switch (s.kind) {
        case MednafenKind::Choice:
            row.choice = new QComboBox(frame);
            for (const MednafenChoice& c : s.choices) row.choice->addItem(Q(c.caption), Q(c.value));
            control = row.choice;
            grid->addWidget(control, r, 1, 1, 3);
            break;
        case MednafenKind::Colour:
            row.colour = new QLineEdit(frame);
            row.colour->setValidator(new QRegularExpressionValidator(
                QRegularExpression(QStringLiteral("0[xX][0-9a-fA-F]{0,6}")), row.colour));
            row.colour->setFixedWidth(row.colour->fontMetrics().horizontalAdvance(QStringLiteral("0xWWWWWWW")));
            row.swatch = new platform::Swatch(ControlName("shp", s.name), frame);
            row.swatch->setFixedSize(row.colour->sizeHint().height() * 2, row.colour->sizeHint().height());
            row.swatch->setToolTip(help);
            row.pick = new QPushButton(QStringLiteral("Choose..."), frame);
            row.pick->setObjectName(ControlName("cmd", s.name));
            row.pick->setAutoDefault(false);
            control = row.colour;
            grid->addWidget(row.colour, r, 1);
            grid->addWidget(row.swatch, r, 2);
            grid->addWidget(row.pick, r, 3);
            break;
        case MednafenKind::Whole:
            row.whole = new QSpinBox(frame);
            row.whole->setRange(static_cast<int>(s.low), static_cast<int>(s.high));
            control = row.whole;
            grid->addWidget(control, r, 1);
            break;
        case MednafenKind::Real:
            row.real = new QDoubleSpinBox(frame);
            row.real->setRange(s.low, s.high);
            row.real->setDecimals(2);
            control = row.real;
            grid->addWidget(control, r, 1);
            break;
        case MednafenKind::Flag: break;
    }
    const char* prefix = row.choice ? "cmb" : row.colour ? "txt" : "spn";
    control->setObjectName(ControlName(prefix, s.name));
    control->setToolTip(help);
    row.label->setBuddy(control);
    m_rows.push_back(row);
}

void frmMednafen::ConnectHandlers() {
    m_rom->onChoice = [this](platform::RomChooser::Choice choice) {
        RomChosen(choice == platform::RomChooser::Choice::Valid);
    };
    for (const SettingRow& row : m_rows) {
        if (row.choice) connect(row.choice, &QComboBox::currentIndexChanged, this, &frmMednafen::UpdateEnabling);
        if (row.colour) {
            connect(row.colour, &QLineEdit::textChanged, this, [this, &row] { txtColour_Change(row); });
            connect(row.pick, &QPushButton::clicked, this, [this, &row] { cmdColour_Click(row); });
        }
    }
    connect(cmdRunMednafen, &QPushButton::clicked, this, &frmMednafen::cmdRunMednafen_Click);
    connect(cmdSaveSettings, &QPushButton::clicked, this, &frmMednafen::cmdSaveSettings_Click);
    connect(cmdRevertSettings, &QPushButton::clicked, this, &frmMednafen::cmdRevertSettings_Click);
    connect(cmdRevertDefault, &QPushButton::clicked, this, &frmMednafen::cmdRevertDefault_Click);
    connect(cmdCopyCommand, &QPushButton::clicked, this, &frmMednafen::cmdCopyCommand_Click);
    connect(cmdHelp, &QPushButton::clicked, mnuHelpHelp, &QAction::trigger);
}

void frmMednafen::Form_Load() {
    GetRegistry();
    RomChosen(false);
    LoadRomChoice();
}

void frmMednafen::GetRegistry() {
    m_program = base::ReadText(m_services.settings, base::keys::MednafenProgram);
    m_environment = CurrentMednafenEnvironment();
}

void frmMednafen::RomChosen(bool valid) {
    if (valid) {
        ReloadGame();
    } else {
        m_game.reset();
        // What every game gets without a file of its own.
        ShowValues(LoadMednafenGame({}, m_environment).inherited);
        lblSettingsFile->setPath(QString());
    }
    for (QPushButton* b : {cmdRunMednafen, cmdSaveSettings, cmdRevertSettings, cmdRevertDefault}) b->setEnabled(valid);
    UpdateCommandLine();
}

void frmMednafen::ReloadGame() {
    m_game = LoadMednafenGame(U8(m_rom->RomPath()), m_environment);
    ShowValues(m_game->Effective());
    lblSettingsFile->setPath(Q(m_game->configPath));
}

void frmMednafen::ShowValues(const MednafenValues& values) {
    for (const SettingRow& row : m_rows) {
        const std::string& value = values.at(std::string(row.setting->key));
        if (row.choice) row.choice->setCurrentIndex(std::max(row.choice->findData(Q(value)), 0));
        if (row.flag) row.flag->setChecked(value == "1");
        if (row.colour) row.colour->setText(Q(value));
        if (row.whole) row.whole->setValue(std::stoi(value));
        if (row.real) row.real->setValue(std::stod(value));
    }
    UpdateEnabling();
}

// A setting's value as its control shows it, in Mednafen's form.
std::string frmMednafen::ControlText(const SettingRow& row) {
    if (row.choice) return U8(row.choice->currentData().toString());
    if (row.flag) return std::string(1, row.flag->isChecked() ? '1' : '0');
    if (row.colour) return U8(row.colour->text());
    if (row.whole) return std::to_string(row.whole->value());
    return MednafenRealText(row.real->value());
}

MednafenValues frmMednafen::ValuesFromControls() const {
    MednafenValues values;
    for (const SettingRow& row : m_rows) {
        // A colour box left half-typed keeps what was there before.
        const MednafenSetting& s = *row.setting;
        if (auto value = NormalisedMednafenValue(s, ControlText(row))) values[std::string(s.key)] = *value;
    }
    return values;
}

const frmMednafen::SettingRow& frmMednafen::Row(std::string_view key) const {
    return *std::find_if(m_rows.begin(), m_rows.end(), [key](const SettingRow& r) { return r.setting->key == key; });
}

std::string frmMednafen::ChoiceOf(std::string_view key) const {
    return U8(Row(key).choice->currentData().toString());
}

// Each setting is open only where Mednafen uses it.
void frmMednafen::UpdateEnabling() {
    const std::string mode = ChoiceOf(mk::k3DMode);
    const bool anaglyph = mode == "anaglyph";
    const bool ownColours = anaglyph && ChoiceOf(mk::kPreset) == "disabled";
    auto enable = [this](std::string_view key, bool on) {
        const SettingRow& row = Row(key);
        for (QWidget* w :
             std::initializer_list<QWidget*>{row.label, row.choice, row.colour, row.swatch, row.pick, row.whole}) {
            if (w != nullptr) w->setEnabled(on);
        }
    };
    enable(mk::kPreset, anaglyph);
    enable(mk::kLeftColour, ownColours);
    enable(mk::kRightColour, ownColours);
    enable(mk::kDefaultColour, !anaglyph);
    enable(mk::kSeparation, mode == "sidebyside");
}

std::string frmMednafen::ProgramToRun() const {
    if (auto found = FindMednafen(m_program, m_environment)) return *found;
    return m_program.empty() ? std::string("mednafen") : m_program;
}

void frmMednafen::UpdateCommandLine() {
    txtCommandLine->setText(m_game ? Q(MednafenRun(ProgramToRun(), m_game->rom, std::nullopt).commandLine) : QString());
    txtCommandLine->setCursorPosition(0);
    cmdCopyCommand->setEnabled(m_game.has_value());
}

void frmMednafen::txtColour_Change(const SettingRow& row) {
    row.swatch->SetBackColour(ColourOf(U8(row.colour->text())));
}

void frmMednafen::cmdColour_Click(const SettingRow& row) {
    const QColor chosen = QColorDialog::getColor(ColourOf(U8(row.colour->text())), this, Q(row.setting->caption));
    if (chosen.isValid()) row.colour->setText(Q(MednafenColourText(chosen.rgb() & 0xFFFFFF)));
}

void frmMednafen::cmdRunMednafen_Click() {
    if (!m_game) {
        m_services.messages.Show(this, SelectRomMessage());
        return;
    }
    const auto program = FindMednafen(m_program, m_environment);
    if (!program) {
        m_services.messages.Show(this, MissingInChooser(base::Program::Mednafen, m_program));
        return;
    }
    // The settings as shown go into the game's file first, saved or not.
    const PreparedRun run = MednafenRun(*program, m_game->rom, PerGameFileFor(*m_game, ValuesFromControls()));
    Carry(run);
    ReloadGame();
}

void frmMednafen::cmdSaveSettings_Click() {
    if (auto file = PerGameFileFor(*m_game, ValuesFromControls())) {
        if (auto written = WriteRunFile(*file); !written) {
            m_services.messages.Show(this, GameSettingsNotSavedMessage(file->path, written.reason));
        }
    }
    ReloadGame();
}

void frmMednafen::cmdRevertSettings_Click() {
    if (m_services.messages.Show(this, RevertToSavedQuestion()) == MessageResult::Yes) ReloadGame();
}

void frmMednafen::cmdRevertDefault_Click() {
    if (m_services.messages.Show(this, RemoveGameSettingsQuestion(m_game->configPath)) != MessageResult::Yes) return;
    if (auto failed = ApplyRemoval(*m_game, RemoveGameSettings(*m_game))) {
        m_services.messages.Show(this, GameSettingsNotSavedMessage(m_game->configPath, *failed));
    }
    ReloadGame();
}

void frmMednafen::cmdCopyCommand_Click() {
    QGuiApplication::clipboard()->setText(txtCommandLine->text());
}

}  // namespace kestro::emus
