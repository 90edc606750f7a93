// SPDX-License-Identifier: GPL-3.0-or-later
#include "emus/frmRedDragon.h"

#include "emus/frmControlConfig.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QSlider>
#include <QVBoxLayout>
#include <cmath>

#include "base/NumericText.h"
#include "base/SettingsKeys.h"
#include "platform/RomChooser.h"
#include "platform/Text.h"
#include "platform/Widgets.h"

namespace kestro::emus {

using platform::Named;
using platform::Q;
using platform::U8;

namespace {

// The entries of a list of texts (a table or a size list).
template <typename Texts>
QStringList Entries(const Texts& items) {
    QStringList entries;
    for (std::string_view item : items) entries << Q(item);
    return entries;
}

}  // namespace

frmRedDragon::frmRedDragon(platform::Services& services, QWidget* parent)
    : frmFrontEnd(services,
                  {"frmRedDragon", "Red Dragon Frontend", "Red Dragon Frontend &Help...", "Red Dragon", "rdragon"},
                  parent) {
    BuildControls();
    ConnectHandlers();
    Form_Load();
}

frmRedDragon::~frmRedDragon() = default;

void frmRedDragon::BuildControls() {
    QVBoxLayout* layout = Body();

    auto* frames = new QHBoxLayout();
    frames->addWidget(BuildGraphicsMode());
    frames->addWidget(BuildEmulationOptions(), 0, Qt::AlignTop);
    layout->addLayout(frames);

    auto* buttons = new QHBoxLayout();
    cmdRunRedDragon = Named(new QPushButton(QStringLiteral("Run Red Dragon..."), this), "cmdRunRedDragon");
    cmdControlConfig = Named(new QPushButton(QStringLiteral("Control Configuration..."), this), "cmdControlConfig");
    cmdRevertSettings = Named(new QPushButton(QStringLiteral("Revert Settings"), this), "cmdRevertSettings");
    cmdRevertDefault = Named(new QPushButton(QStringLiteral("Revert to Default"), this), "cmdRevertDefault");
    for (QPushButton* b : {cmdRunRedDragon, cmdControlConfig, cmdRevertSettings, cmdRevertDefault}) {
        buttons->addWidget(b);
    }
    layout->addLayout(buttons);

    AddHelp(RedDragonHelpText());
    // Where the file text is assembled, and where key codes are handed over.
    txtOptions = Named(new QPlainTextEdit(this), "txtOptions");
    txtOptions->hide();
    lstControls = Named(new QListWidget(this), "lstControls");
    lstControls->hide();
}

QGroupBox* frmRedDragon::BuildGraphicsMode() {
    auto* frame = Named(new QGroupBox(QStringLiteral("Graphics Mode"), this), "fraGraphicsMode");
    auto* row = new QHBoxLayout(frame);
    lstScreenMode = Named(new QListWidget(frame), "lstScreenMode");
    lstScreenSize = Named(new QListWidget(frame), "lstScreenSize");
    lstScreenCols = Named(new QListWidget(frame), "lstScreenCols");
    for (QListWidget* list : {lstScreenMode, lstScreenSize, lstScreenCols}) {
        list->setMinimumWidth(130);
        row->addWidget(list);
    }
    // The sizes and depths are right-aligned by blanks, as designed.
    const QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    lstScreenSize->setFont(fixed);
    lstScreenCols->setFont(fixed);
    lstScreenCols->setMinimumWidth(QFontMetrics(fixed).horizontalAdvance(Q(kRedDragonColourDepths[0])) + 32);
    return frame;
}

QGroupBox* frmRedDragon::BuildEmulationOptions() {
    auto* frame = Named(new QGroupBox(QStringLiteral("Emulation Options"), this), "fraEmulationOptions");
    auto* grid = new QGridLayout(frame);
    auto label = [&](int row, const char* name, const char* caption) {
        grid->addWidget(Named(new QLabel(QString::fromLatin1(caption), frame), name), row, 0);
    };
    label(0, "lblVersion", "Version");
    cmbVersion = Named(new QComboBox(frame), "cmbVersion");
    grid->addWidget(cmbVersion, 0, 1);
    label(1, "lblFrameskip", "Frameskip:");
    sliFrameskip = Named(new QSlider(Qt::Horizontal, frame), "sliFrameskip");
    sliFrameskip->setRange(0, kRedDragonMaxFrameSkip);
    sliFrameskip->setTickPosition(QSlider::TicksBelow);
    // The number the slider stands at, beside it.
    lblFrameskipNumber = Named(new QLabel(frame), "lblFrameskipNumber");
    lblFrameskipNumber->setMinimumWidth(lblFrameskipNumber->fontMetrics().horizontalAdvance(QStringLiteral("00")));
    lblFrameskipNumber->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    auto* skip = new QHBoxLayout();
    skip->addWidget(sliFrameskip, 1);
    skip->addWidget(lblFrameskipNumber);
    grid->addLayout(skip, 1, 1);
    label(2, "lblDisplayMode", "Display Mode:");
    cmbDisplayMode = Named(new QComboBox(frame), "cmbDisplayMode");
    grid->addWidget(cmbDisplayMode, 2, 1);
    label(3, "lblBrightness", "Brightness Hack:");
    auto* hack = new QHBoxLayout();
    m_brightness = new QButtonGroup(frame);
    for (std::size_t i = 0; i < optBrightness.size(); ++i) {
        optBrightness[i] = new QRadioButton(Q(kRedDragonBrightnessHack[i]), frame);
        optBrightness[i]->setObjectName(QStringLiteral("optBrightness_%1").arg(i));
        m_brightness->addButton(optBrightness[i], static_cast<int>(i));
        hack->addWidget(optBrightness[i]);
    }
    grid->addLayout(hack, 3, 1);
    label(4, "lblPalette", "Palette:");
    cmbPalette = Named(new QComboBox(frame), "cmbPalette");
    grid->addWidget(cmbPalette, 4, 1);
    chkSwap3D = Named(new QCheckBox(QStringLiteral("Swap 3D:"), frame), "chkSwap3D");
    chkSwap3D->setLayoutDirection(Qt::RightToLeft);  // the box after its caption, as designed
    grid->addWidget(chkSwap3D, 5, 0, 1, 2, Qt::AlignLeft);
    return frame;
}

void frmRedDragon::ConnectHandlers() {
    m_rom->onChoice = [this](platform::RomChooser::Choice choice) {
        // Red Dragon runs without a ROM too; only a refused one stops it.
        cmdRunRedDragon->setEnabled(choice != platform::RomChooser::Choice::Refused);
    };
    connect(lstScreenMode, &QListWidget::currentRowChanged, this, &frmRedDragon::lstScreenMode_Click);
    connect(sliFrameskip, &QSlider::valueChanged, this, &frmRedDragon::sliFrameskip_Change);
    connect(cmdRunRedDragon, &QPushButton::clicked, this, &frmRedDragon::cmdRunRedDragon_Click);
    connect(cmdRevertSettings, &QPushButton::clicked, this, &frmRedDragon::cmdRevertSettings_Click);
    connect(cmdRevertDefault, &QPushButton::clicked, this, &frmRedDragon::cmdRevertDefault_Click);
    connect(cmdControlConfig, &QPushButton::clicked, this, &frmRedDragon::cmdControlConfig_Click);
}

void frmRedDragon::Form_Load() {
    for (const RedDragonScreenMode& mode : kRedDragonScreenModes) lstScreenMode->addItem(Q(mode.name));
    lstScreenCols->addItems(Entries(kRedDragonColourDepths));
    cmbDisplayMode->addItems(Entries(kRedDragonDisplayModes));
    cmbPalette->addItems(Entries(kRedDragonPalettes));
    cmbVersion->addItems(Entries(kRedDragonVersions));
    GetRegistry();
    ReadOptions();
    LoadRomChoice();
}

void frmRedDragon::GetRegistry() {
    m_directory = base::ReadText(m_services.settings, base::keys::Programs[2].directory);
}

void frmRedDragon::ReadOptions() {
    const auto read = ReadRedDragonOptions(RedDragonOptionsPath(m_directory));
    m_read = read.value_or(RedDragonOptions{});
    m_keys = m_read.keys;
    ShowForm(OpenedForm(read));
}

void frmRedDragon::ShowForm(const RedDragonForm& form) {
    {
        const QSignalBlocker quiet(lstScreenMode);
        lstScreenMode->setCurrentRow(form.screenMode);
    }
    lstScreenSize->clear();
    lstScreenSize->addItems(Entries(form.sizes));
    lstScreenSize->setCurrentRow(form.screenSize);
    if (QListWidgetItem* size = lstScreenSize->currentItem()) lstScreenSize->scrollToItem(size);
    lstScreenCols->setCurrentRow(form.colourDepth);
    sliFrameskip->setValue(form.frameSkip);
    sliFrameskip_Change(sliFrameskip->value());
    cmbDisplayMode->setCurrentIndex(form.displayMode);
    optBrightness[static_cast<std::size_t>(form.brightnessHack)]->setChecked(true);
    cmbPalette->setCurrentIndex(form.palette);
    chkSwap3D->setChecked(form.swap3D);
    cmbVersion->setCurrentIndex(form.version);
}

RedDragonForm frmRedDragon::FormFromControls() const {
    RedDragonForm form;
    form.screenMode = lstScreenMode->currentRow();
    for (int i = 0; i < lstScreenSize->count(); ++i) form.sizes.push_back(U8(lstScreenSize->item(i)->text()));
    form.screenSize = lstScreenSize->currentItem() != nullptr ? lstScreenSize->currentRow() : -1;
    form.colourDepth = std::max(lstScreenCols->currentRow(), 0);
    form.frameSkip = sliFrameskip->value();
    form.displayMode = std::max(cmbDisplayMode->currentIndex(), 0);
    form.brightnessHack = std::max(m_brightness->checkedId(), 0);
    form.palette = std::max(cmbPalette->currentIndex(), 0);
    form.swap3D = chkSwap3D->isChecked();
    form.version = std::max(cmbVersion->currentIndex(), 0);
    return form;
}

void frmRedDragon::lstScreenMode_Click(int row) {
    lstScreenSize->clear();
    lstScreenSize->addItems(Entries(ScreenSizesFor(row)));
}

void frmRedDragon::sliFrameskip_Change(int value) {
    sliFrameskip->setToolTip(QString::number(value));
    lblFrameskipNumber->setText(QString::number(value));
}

void frmRedDragon::cmdRunRedDragon_Click() {
    std::optional<std::string> rom;
    if (m_rom->HasRom()) rom = U8(m_rom->RomPath());
    const PreparedRun run = RedDragonRun(m_directory, rom, OptionsFromForm(FormFromControls(), m_keys));
    txtOptions->setPlainText(Q(run.files.front().content));
    Carry(run);
}

void frmRedDragon::cmdRevertSettings_Click() {
    if (m_services.messages.Show(this, RevertToSavedQuestion()) != base::MessageResult::Yes) return;
    RedDragonForm form = FormFromControls();
    ShowOptions(form, m_read, false);
    ShowForm(form);
}

void frmRedDragon::cmdRevertDefault_Click() {
    if (m_services.messages.Show(this, RevertToDefaultQuestion()) != base::MessageResult::Yes) return;
    RedDragonForm form = FormFromControls();
    RevertToDefault(form);
    ShowForm(form);
}

void frmRedDragon::cmdControlConfig_Click() {
    // The hand-over: the codes go out through lstControls and come back from it.
    lstControls->clear();
    for (int code : m_keys) lstControls->addItem(QString::number(code));
    ShowKeyConfiguration();
    for (int i = 0; i < kRedDragonKeyCount && i < lstControls->count(); ++i) {
        m_keys[static_cast<std::size_t>(i)] =
            static_cast<int>(std::nearbyint(base::NumericValue(U8(lstControls->item(i)->text()))));
    }
}

void frmRedDragon::ShowKeyConfiguration() {
    frmControlConfig config(m_services, QStringLiteral("Red Dragon"), lstControls, this);
    config.exec();
}

}  // namespace kestro::emus
