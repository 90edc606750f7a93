// SPDX-License-Identifier: GPL-3.0-or-later
// The key configuration window and its capture window, driven through their
// controls with synthetic key and mouse events.
#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include "emus/KeyConfig.h"
#include "emus/frmControlConfig.h"
#include "emus/frmKeyCapture.h"
#include "support/gui/TestServices.h"

namespace kestro::emus {
namespace {

using base::MessageResult;

// One input from the user: a key (Qt's key, modifiers and the native symbol
// and position the windowing system gives) or a mouse button.
struct Input {
    int key = 0;
    Qt::KeyboardModifiers modifiers = Qt::NoModifier;
    quint32 symbol = 0;
    quint32 position = 0;
    Qt::MouseButton button = Qt::NoButton;
    bool repeat = false;  ///< the repeat of a key held down
    bool up = false;      ///< the key's release
};

void Send(QWidget* window, const Input& in) {
    if (in.button != Qt::NoButton) {
        QTest::mouseClick(window, in.button, Qt::NoModifier, QPoint(10, 10));
        return;
    }
    QKeyEvent event(in.up ? QEvent::KeyRelease : QEvent::KeyPress, in.key, in.modifiers, in.position, in.symbol, 0,
                    QString(), in.repeat);
    QApplication::sendEvent(window, &event);
}

class KeyConfigWindow : public ::testing::Test {
protected:
    frmControlConfig& Open(const QString& emulator) {
        m_window = std::make_unique<frmControlConfig>(t.services, emulator, &lstControls);
        return *m_window;
    }
    QPushButton* Button(const char* name) { return test::FindChild<QPushButton>(m_window.get(), name); }
    QString Caption(const char* name) { return Button(name)->text(); }
    void Click(const char* name) { QTest::mouseClick(Button(name), Qt::LeftButton); }

    // Clicks a key button and answers the capture window with the inputs.
    void Capture(const char* button, std::vector<Input> inputs) {
        test::WhenModalShown([inputs](QWidget* capture) {
            QTest::qWait(20);  // its timer starts the listening
            for (const Input& in : inputs) {
                if (capture->isVisible()) Send(capture, in);
            }
            if (capture->isVisible()) capture->close();
        });
        Click(button);
    }
    std::int32_t StoredKey(const std::string& name) {
        auto data = t.registry.Query(base::HKEY_CURRENT_USER_, kVirtualEKeypadKey, name);
        return data ? data->bytes[0] | data->bytes[1] << 8 : -1;
    }
    QStringList Handed() {
        QStringList items;
        for (int i = 0; i < lstControls.count(); ++i) items << lstControls.item(i)->text();
        return items;
    }

    test::TestServices t;
    QListWidget lstControls;
    std::unique_ptr<frmControlConfig> m_window;
};

TEST_F(KeyConfigWindow, CaptureTakesLettersModifiersKeypadAndMouseButtons) {
    Open(QStringLiteral("Virtual-E"));
    const struct {
        const char* button;
        Input input;
        const char* caption;
    } captures[] = {
        {"cmdAButton", {Qt::Key_Q}, "Q q"},
        // Left and right Shift both report the generic Shift.
        {"cmdBButton", {Qt::Key_Shift, Qt::NoModifier, 0xffe2, 62}, "<Shift>"},
        // The keypad: by Qt's keypad flag, and by the native symbol alone.
        {"cmdRButton", {Qt::Key_5, Qt::KeypadModifier, 0, 84}, "<Num 5 >"},
        {"cmdLtUp", {Qt::Key_Home, Qt::NoModifier, 0xffb7, 79}, "<Num 7 >"},
        {"cmdLtRt", {Qt::Key_Colon, Qt::ShiftModifier, 0, 47}, ": ;"},
        // A letter of a layout Qt has no key for counts by its place on the keyboard.
        {"cmdRtDn", {0x01000444 /* Cyrillic ef */, Qt::NoModifier, 0x6c6, 38}, "A a"},
        {"cmdRtRt", {0, Qt::NoModifier, 0, 0, Qt::RightButton}, "RMouseBt"},
    };
    for (const auto& c : captures) {
        Capture(c.button, {c.input});
        EXPECT_EQ(Caption(c.button), QString::fromLatin1(c.caption)) << c.button;
    }
    // A key still held from before (it repeats) must come up first, and so
    // must a key pressed meanwhile; then the next press counts.
    const Input held{.key = Qt::Key_Return, .position = 36, .repeat = true};
    const Input heldUp{.key = Qt::Key_Return, .position = 36, .up = true};
    const Input yUp{.key = Qt::Key_Y, .up = true};
    Capture("cmdStart", {held, {Qt::Key_Y}, heldUp, yUp, {Qt::Key_X}, {Qt::Key_Z}});
    EXPECT_EQ(Caption("cmdStart"), QStringLiteral("X x"));
    // Closed without a key: nothing changes.
    Capture("cmdSelect", {});
    EXPECT_EQ(Caption("cmdSelect"), QStringLiteral("V v"));

    Click("cmdVirteOK");
    for (auto [name, code] :
         {std::pair{"A Button", 81}, {"B Button", 16}, {"R Button", 101}, {"RRP", 2}, {"Start", 88}, {"Select", 86}}) {
        EXPECT_EQ(StoredKey(name), code) << name;
    }
}

TEST_F(KeyConfigWindow, VirtualEKeysAreStoredAndSurviveReopeningAndCancelRevertDefaultTouchNothingStored) {
    frmControlConfig& window = Open(QStringLiteral("Virtual-E"));
    Capture("cmdAButton", {{Qt::Key_K}});
    Click("cmdVirteOK");
    EXPECT_EQ(window.result(), QDialog::Accepted);
    for (const ControllerInput& input : kControllerInputs) {
        EXPECT_EQ(StoredKey(std::string(input.valueName)), input.button == "cmdAButton" ? 75 : input.defaultCode);
    }
    Open(QStringLiteral("Virtual-E"));
    EXPECT_EQ(Caption("cmdAButton"), QStringLiteral("K k")) << "read back from the registry";

    Capture("cmdAButton", {{Qt::Key_P}});
    t.messages.Answer(MessageResult::Yes);
    Click("cmdVirteDefault");
    EXPECT_EQ(Caption("cmdAButton"), QStringLiteral("M m"));
    t.messages.Answer(MessageResult::Yes);
    Click("cmdVirteRevert");
    EXPECT_EQ(Caption("cmdAButton"), QStringLiteral("K k"));
    Capture("cmdAButton", {{Qt::Key_P}});
    Click("cmdVirteCancel");
    EXPECT_EQ(StoredKey("A Button"), 75) << "Cancel writes nothing";

    // A key whose value is missing under an existing key shows as <Key#000>.
    t.registry = base::MemoryRegistryBackend();
    t.registry.CreateKey(base::HKEY_CURRENT_USER_, kVirtualEKeypadKey);
    Open(QStringLiteral("Virtual-E"));
    EXPECT_EQ(Caption("cmdStart"), QStringLiteral("<Key#000>"));

    // A registry that refuses the write keeps the window open and says why.
    t.registry.DenyWrites(base::HKEY_CURRENT_USER_);
    Click("cmdVirteOK");
    EXPECT_NE(t.messages.Shown().back().text.find("'Software\\Virtual-E\\VIRTUALE\\Keypad',Key: 'A Button'"),
              std::string::npos);
    EXPECT_NE(m_window->result(), QDialog::Accepted);
}

// The key-number crossing is the core's test; here the questions a Shift or
// Alt without its side asks, the keys refused, and what OK and Cancel hand back.
TEST_F(KeyConfigWindow, RedDragonKeysComeAndGoThroughItsHandOverList) {
    const QString given = QStringLiteral("1,2,7,8,5,3,19,6,9,120,10,12,0,22");
    lstControls.addItems(given.split(QLatin1Char(',')));
    Open(QStringLiteral("Red Dragon"));
    EXPECT_EQ(Caption("cmdRtDn"), QStringLiteral("<Key#000>")) << "code 120 is <INVALID>";
    Capture("cmdAButton", {{Qt::Key_Q}});
    Click("cmdVirteCancel");
    EXPECT_EQ(Handed().join(QLatin1Char(',')), given) << "Cancel hands nothing back";

    // Left Shift needs its side told: No to both asks again, until a Yes.
    Open(QStringLiteral("Red Dragon"));
    for (MessageResult answer : {MessageResult::No, MessageResult::No, MessageResult::Yes}) t.messages.Answer(answer);
    Capture("cmdBButton", {{Qt::Key_Shift, Qt::NoModifier, 0xffe1, 50}});
    const auto asked = t.messages.Take();
    ASSERT_EQ(asked.size(), 3u);
    EXPECT_EQ(asked[0], (base::Message{"Use left key?",
                                       "Unable to detect correct Shift key.\rDo you wish to use the left Shift key?",
                                       base::MessageIcon::Question, base::MessageButtons::YesNo, MessageResult::No}));
    EXPECT_EQ(asked[1].title + asked[2].title, "Use right key?Use left key?");
    EXPECT_EQ(Caption("cmdBButton"), QStringLiteral("<LShift>"));
    t.messages.Answer(MessageResult::No);
    t.messages.Answer(MessageResult::Yes);
    Capture("cmdLButton", {{Qt::Key_Alt, Qt::NoModifier, 0xffea, 108}});
    EXPECT_EQ(t.messages.Take().at(1).text, "Unable to detect correct Alt key.\rDo you wish to use the right Alt key?");
    EXPECT_EQ(Caption("cmdLButton"), QStringLiteral("<RAlt>"));
    // A mouse button has no Red Dragon key: refused when captured, the key kept.
    Capture("cmdSelect", {{0, Qt::NoModifier, 0, 0, Qt::RightButton}});
    EXPECT_EQ(t.messages.Take().at(0).text, "Red Dragon has no key RMouseBt.\rPlease choose another key.");
    Capture("cmdAButton", {{Qt::Key_A}});
    Click("cmdVirteOK");
    EXPECT_EQ(Handed().join(QLatin1Char(',')), QStringLiteral("1,103,108,8,5,3,19,6,9,0,10,12,0,22"));
    EXPECT_TRUE(t.registry.Query(base::HKEY_CURRENT_USER_, kVirtualEKeypadKey, "A Button") == std::nullopt)
        << "Red Dragon's keys never reach Virtual-E's registry";
}

TEST_F(KeyConfigWindow, RealityBoyShowsItsFixedKeysAndRefusesChanges) {
    frmControlConfig& window = Open(QStringLiteral("Reality Boy"));
    window.show();
    EXPECT_FALSE(Button("cmdVirteOK")->isVisibleTo(&window));

    Click("cmdLtUp");
    EXPECT_EQ(t.messages.Take(), (std::vector<base::Message>{{"Change key configuration",
                                                              "Key configuration can not be\rchanged in Reality Boy.",
                                                              base::MessageIcon::Exclamation}}));
    EXPECT_EQ(Caption("cmdLtUp"), QStringLiteral("E e"));

    Click("cmdDebug");
    EXPECT_EQ(t.messages.Take().at(0).title, "Debug mode key configuration");
    Click("cmdOK");
    EXPECT_EQ(window.result(), QDialog::Accepted);
    EXPECT_TRUE(t.registry.Query(base::HKEY_CURRENT_USER_, kVirtualEKeypadKey, "A Button") == std::nullopt);
}

}  // namespace
}  // namespace kestro::emus
