// The toolkit's own rules: the IPv4 control's keys, focus, centring and the
// coalescing of keyboard routing to the topmost window.
#include <gtest/gtest.h>

#include "tests/support/headless_user.h"
#include "toolkit/headless/headless_backend.h"
#include "toolkit/layout.h"

namespace {
const ControlTemplate Controls[] = {
    {1, ControlKind::DefaultButton, "OK", 10, 40, 50, 14, Align::Center, true, false, false},
    {2, ControlKind::PushButton, "Cancel", 70, 40, 50, 14, Align::Center, true, false, false},
    {1000, ControlKind::Ipv4Address, "", 10, 10, 109, 15, Align::Left, true, true, false},
    {1003, ControlKind::Entry, "", 10, 25, 85, 14, Align::Left, true, true, false},
};
const DialogTemplate Sample = {7, "Test", 0, 0, 160, 60, Controls, 4};

std::string typed;
int command;
const DialogBehaviour Behaviour = {
    [](Window& w) {
        set_focus(w, 1000);
        center_on_screen(w);
    },
    [](Window& w, int id) {
        command = id;
        typed = control_text(w, 1000);
        end_dialog(w, id == IdOk);
    },
};

class Toolkit : public testing::Test {
protected:
    HeadlessUser user;
    void SetUp() override { user.install(); }
    void TearDown() override { user.uninstall(); }
    std::string ipv4_after(const std::vector<int>& keys) {
        user.answers[7] = [keys](Window&) {
            for (int k : keys) post_key(k);
            post_key(KeyEnter);
        };
        run_modal_dialog(Sample, Behaviour, nullptr);
        return typed;
    }
};

std::vector<int> text(const char* s) {
    std::vector<int> keys;
    for (; *s; ++s) keys.push_back(static_cast<unsigned char>(*s));
    return keys;
}

TEST_F(Toolkit, Ipv4ControlTakesAnAddressTypedAsText) {
    struct {
        const char* keys;
        const char* address;
    } cases[] = {
        {"127.0.0.2", "127.0.0.2"},   {"192.168.100.200", "192.168.100.200"},
        {"1921681001", "192.168.100.1"}, {"10.1", "10.1.0.0"},
        {"", "0.0.0.0"},              {"999.1.2.3", "255.1.2.3"},
        {"1...2", "1.2.0.0"},         {"1.2.3.4.5", "1.2.3.45"},
        {"abc1-2", "12.0.0.0"},
    };
    for (auto& c : cases) EXPECT_EQ(ipv4_after(text(c.keys)), c.address) << c.keys;
    EXPECT_EQ(ipv4_after({'1', '2', '3', '4', KeyBackspace, KeyBackspace, '9'}), "129.0.0.0")
        << "Backspace in an empty field goes back into the one before";
    EXPECT_EQ(ipv4_after({'1', '.', '2', KeyLeft, '5'}), "15.2.0.0");
}

TEST_F(Toolkit, EnterPressesTheFocusedButtonOrTheDefaultAndEscapeCancels) {
    struct {
        std::vector<int> keys;
        int command;
    } cases[] = {
        {{KeyEnter}, IdOk},                          // from the address control: the default button
        {{KeyTab, KeyEnter}, IdOk},                  // the entry: Enter is the default button
        {{KeyTab, KeyTab, KeyTab, KeyEnter}, IdCancel},
        {{KeyBackTab, KeyEnter}, IdCancel},
        {{KeyEscape}, IdCancel},
        {{KeyCtrlC}, IdCancel},
        {{KeyClose}, IdCancel},
        {{KeyTab, KeyTab, ' '}, IdOk},
    };
    for (auto& c : cases) {
        user.answers[7] = [&](Window&) {
            for (int k : c.keys) post_key(k);
        };
        command = 0;
        // Tab order: OK, Cancel, address, entry; the entry takes Enter as the
        // default button.
        run_modal_dialog(Sample, Behaviour, nullptr);
        EXPECT_EQ(command, c.command);
    }
}

TEST(Layout, CentringTakesTheFloorOfEachHalf) {
    use_headless_backend(100, 32);
    Window w;
    w.t = &Sample;
    w.caption = Sample.caption;
    for (auto& c : Controls) {
        w.controls.emplace_back();
        w.controls.back().t = &c;
    }
    int width, height;
    dialog_size(w, 100, 32, &width, &height);
    Window* live = create_dialog(Sample, DialogBehaviour{}, nullptr);
    center_on_screen(*live);
    EXPECT_EQ(live->x, (100 - width) / 2);
    EXPECT_EQ(live->y, (32 - height) / 2);
    use_headless_backend(101, 33);
    dialog_size(w, 101, 33, &width, &height);
    center_on_screen(*live);
    EXPECT_EQ(live->x, (101 - width) / 2);
    EXPECT_EQ(live->y, (33 - height) / 2);
    destroy_window(live);
    use_headless_backend(100, 32);
}

TEST(Layout, WrapTextBreaksAtCrLfAndWordsAndNeverDropsCharacters) {
    EXPECT_EQ(wrap_text("ab cd\r\nef", 10), (std::vector<std::string>{"ab cd", "ef"}));
    EXPECT_EQ(wrap_text("aaa bbb ccc", 7), (std::vector<std::string>{"aaa bbb", "ccc"}));
    EXPECT_EQ(wrap_text("abcdefghij", 4), (std::vector<std::string>{"abcd", "efgh", "ij"}));
    EXPECT_EQ(wrap_text("a\r\n\r\nb\r\n", 4), (std::vector<std::string>{"a", "", "b"}));
}
}  // namespace
