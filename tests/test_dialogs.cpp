// Each dialog run headless: what it shows on open, where the focus is, and
// what each way of closing it returns.
#include <gtest/gtest.h>

#include <cstring>
#include <thread>

#include "app/common.h"
#include "app/firmware_image.h"
#include "app/product.h"
#include "app/upgrade_state.h"
#include "resources/dialog_templates.h"
#include "tests/support/headless_user.h"
#include "ui/dialogs.h"
#include "ui/ipv4.h"

namespace {
TEST(ParseIpv4Address, Cases) {
    struct {
        const char* text;
        Ipv4ParseResult result;
        uint32_t address;
    } cases[] = {
        {"192.168.0.2", Ok, 0xC0A80002},     {"192*168*0*2", Ok, 0xC0A80002},
        {"1..2.3.4", Ok, 0x01020304},        {".1.2.3.4.", Ok, 0x01020304},
        {"0001.2.3.4", Ok, 0x01020304},      {"010.0.0.1", Ok, 0x0A000001},
        {"0.0.0.0", Ok, 0},                  {"0.1.2.3", Ok, 0x00010203},
        {"255.255.255.255", Ok, 0xFFFFFFFF}, {"1.2.3", BadLength, 0},
        {"10.20.30", TooFewFields, 0},       {"1.2.3.256", FieldTooLarge, 0},
        {"1.2.3.4.300", TooManyFields, 0},   {"300.1.2.3.4", FieldTooLarge, 0},
        {"1.2.3.4 ", BadCharacter, 0},       {"1.2.3.4.5.6.7.8", TooManyFields, 0},
        {"1234567890123456", BadLength, 0},  {"", BadLength, 0},
        {".......", TooFewFields, 0},        {"1.2.3.a", BadCharacter, 0},
        {"99999999999.1", FieldTooLarge, 0}, {"-1.2.3.4", BadCharacter, 0},
    };
    for (auto& c : cases) {
        uint32_t address = 12345;
        EXPECT_EQ(parse_ipv4_address(c.text, &address), c.result) << c.text;
        EXPECT_EQ(address, c.address) << c.text;
    }
}

class Dialogs : public testing::Test {
protected:
    HeadlessUser user;
    std::vector<std::string> errors;
    void SetUp() override {
        reset_upgrade_state();
        load_firmware_image(TargetImageId, &g_state.target_image);
        load_firmware_image(TransitionImageId, &g_state.transition_image);
        identify_product();
        user.install();
    }
    void TearDown() override { user.uninstall(); }
    void answer(int id, const char* keys) {
        user.answers[id] = [k = std::string(keys)](Window&) { post_keys(k.c_str()); };
    }
    void answer_key(int id, int key) {
        user.answers[id] = [key](Window&) { post_key(key); };
    }
};

TEST_F(Dialogs, NoticeShowsTheWarningWithCancelFocusedAndDefault) {
    answer_key(139, KeyEnter);
    EXPECT_EQ(notice_dialog(nullptr), 0) << "Enter chooses Cancel";
    const ShownDialog* d = user.last(139);
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(d->window.caption, "NUV-4101 Firmware Upgrade");
    EXPECT_EQ(text_of(d->window, 1021), NoticeText);
    EXPECT_NE(std::string(NoticeText).find("service.  If your"), std::string::npos);
    EXPECT_NE(std::string(NoticeText).find("proceeding.  In such"), std::string::npos);
    EXPECT_EQ(d->focus_id, IdCancel);
    EXPECT_TRUE(shows_whole_lines(d->screen, NoticeText)) << d->screen;

    struct {
        const char* how;
        int key;
        int result;
    } closings[] = {{"Continue by Tab then Enter", KeyTab, 1}, {"Escape", KeyEscape, 0},
                    {"close box", KeyClose, 0},                {"Ctrl-C", KeyCtrlC, 0}};
    for (auto& c : closings) {
        SCOPED_TRACE(c.how);
        user.answers[139] = [key = c.key](Window&) {
            post_key(key);
            if (key == KeyTab) post_key(KeyEnter);
        };
        EXPECT_EQ(notice_dialog(nullptr), c.result);
    }
}

TEST_F(Dialogs, AddressDialogListsTheLocalAddressesUnsortedAndCappedAtEight) {
    const uint32_t addresses[8] = {0x0A000005, 0x7F000001, 0xC0A80002, 0x01020304,
                                   0x0A000006, 0x0A000007, 0x0A000008, 0x0A000009};
    std::memcpy(g_state.local_addresses, addresses, sizeof addresses);
    g_state.local_address = addresses[0];
    // Choose the second entry, type the address as text, OK.
    user.answers[101] = [](Window&) {
        post_keys("127.0.0.2");
        post_key(KeyTab);
        post_key(KeyTab);
        post_key(KeyTab);
        post_key(KeyDown);
        post_key(KeyEnter);
    };
    seed_random(42);
    EXPECT_EQ(address_dialog(nullptr, 101), 1);
    const ShownDialog* d = user.last(101);
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(d->window.caption, "NUV-4101 Firmware Upgrade");
    EXPECT_EQ(d->focus_id, 1000);
    EXPECT_EQ(text_of(d->window, 1007), "This program will upgrade your NUV\r\nfirmware to:");
    EXPECT_EQ(text_of(d->window, 1008), AdapterHelpText);
    EXPECT_EQ(text_of(d->window, 1015), "Version 3.1.5(SE)");
    const Control* list = nullptr;
    for (auto& c : d->window.controls)
        if (c.t->id == 1017) list = &c;
    ASSERT_NE(list, nullptr);
    std::vector<std::string> expected = {"10.0.0.5", "127.0.0.1", "192.168.0.2", "1.2.3.4",
                                         "10.0.0.6", "10.0.0.7",  "10.0.0.8",    "10.0.0.9"};
    EXPECT_EQ(list->items, expected);
    EXPECT_EQ(list->selection, 0);
    EXPECT_TRUE(shows_whole_lines(d->screen, AdapterHelpText)) << d->screen;
    EXPECT_EQ(g_state.device_address, 0x7F000002u);
    EXPECT_STREQ(g_state.device_address_text, "127.0.0.2");
    EXPECT_EQ(g_state.local_address, 0x7F000001u);
    char name[128];
    copy_image_file_name(name, sizeof name);
    EXPECT_EQ(std::string(name).substr(0, 4), "/nuv");
    EXPECT_EQ(name[std::strlen(name) - 1], '0');
}

TEST_F(Dialogs, AddressDialogRefusesInvalidAddressesAndStaysOpen) {
    // No local address: nothing is selected and the local address is kept.
    g_state.local_address = 0x0A0B0C0D;
    int attempts = 0;
    std::thread typist;
    user.answers[101] = [&](Window&) { post_key(KeyEnter); };  // blank control: 0.0.0.0
    user.answers[0] = [&](Window& box) {
        ++attempts;
        EXPECT_EQ(box.caption, "Error");
        EXPECT_EQ(text_of(box, -1), "Invalid IP Address");
        post_key(KeyEnter);
        // Once the box is gone, the dialog is still open: type a good address.
        typist = std::thread([] {
            while (desktop_snapshot().back().t->id == 0) std::this_thread::sleep_for(std::chrono::milliseconds(1));
            post_keys("10.1.0.123\n");
        });
    };
    EXPECT_EQ(address_dialog(nullptr, 101), 1);
    typist.join();
    EXPECT_EQ(attempts, 1);
    EXPECT_EQ(g_state.device_address, 0x0A01007Bu);
    EXPECT_EQ(g_state.local_address, 0x0A0B0C0Du);
    const ShownDialog* d = user.last(101);
    for (auto& c : d->window.controls) {
        if (c.t->id == 1017) {
            EXPECT_EQ(c.selection, -1);
        }
    }

    // The handset variant: its icon and help text, Escape cancels.
    g_state.phone_model = true;
    answer_key(305, KeyEscape);
    EXPECT_EQ(address_dialog(nullptr, 305), 0);
    EXPECT_EQ(text_of(user.last(305)->window, 1008), HandsetHelpText);
    EXPECT_NE(std::string(HandsetHelpText).find("select \"Network\" option"), std::string::npos);
}

TEST_F(Dialogs, ConfirmationShowsTheDevicesIdentityAndTheTransitionNote) {
    DeviceInfo& info = g_state.device_info;
    std::strcpy(info.serial_number, "FM12345");
    std::strcpy(info.mac_address, "00:0E:08:AA:BB:CC");
    std::strcpy(info.software_version, "2.0.11");
    std::strcpy(info.hardware_version, "2.0.1");
    std::strcpy(info.product_name, "NUV-4101");
    answer_key(103, KeyEnter);
    g_state.stage = Target;
    EXPECT_EQ(confirm_dialog(nullptr, 103), 1);
    const ShownDialog* d = user.last(103);
    EXPECT_EQ(d->window.caption, "Confirm Upgrade to Ver. 3.1.5(SE)");
    EXPECT_EQ(text_of(d->window, 1007), ConfirmBaseText);
    EXPECT_EQ(d->focus_id, IdOk);
    EXPECT_EQ(text_of(d->window, 1002), "FM12345");
    EXPECT_EQ(text_of(d->window, 1003), "00:0E:08:AA:BB:CC");
    EXPECT_EQ(text_of(d->window, 1004), "2.0.11");
    EXPECT_EQ(text_of(d->window, 1005), "2.0.1");
    EXPECT_EQ(text_of(d->window, 1006), "NUV-4101");
    EXPECT_TRUE(shows_whole_lines(d->screen, ConfirmBaseText)) << d->screen;

    g_state.stage = Transition;
    answer_key(304, KeyEscape);
    EXPECT_EQ(confirm_dialog(nullptr, 304), 0);
    d = user.last(304);
    std::string note = std::string(ConfirmBaseText) +
                       "\r\n\r\nNote: Since your current firmware version\r\nis older than 2.0.12, this upgrade "
                       "procedure\r\nrequires additional steps and will be\r\nslightly longer.\r\n";
    EXPECT_EQ(text_of(d->window, 1007), note);
    EXPECT_TRUE(shows_whole_lines(d->screen, note)) << d->screen;
}

TEST_F(Dialogs, SuccessShowsTheVersionReadAfterTheUpgrade) {
    std::strcpy(g_state.device_address_text, "10.1.0.123");
    std::strcpy(g_state.device_info.software_version, "3.1.5(SE)");
    answer_key(111, KeyClose);
    EXPECT_EQ(success_dialog(), 0);
    const ShownDialog* d = user.last(111);
    EXPECT_EQ(d->window.caption, "NUV@10.1.0.123 Upgrade Successful!");
    EXPECT_EQ(text_of(d->window, 1007), SuccessText);
    EXPECT_EQ(text_of(d->window, 1004), "3.1.5(SE)");
    EXPECT_EQ(d->focus_id, IdOk);
    answer_key(111, KeyEnter);
    EXPECT_EQ(success_dialog(), 1);
}

TEST_F(Dialogs, PasswordDialogOffersAdminEachTimeAndCutsAt126) {
    user.answers[104] = [](Window&) {
        post_keys("x");  // typed into the focused password field
        post_key(KeyBackTab);
        for (int i = 0; i < 5; ++i) post_key(KeyBackspace);
        post_keys("operator\n");
    };
    EXPECT_EQ(password_dialog(), 1);
    EXPECT_STREQ(g_state.digest.username, "operator");
    EXPECT_STREQ(g_state.digest.password, "x");
    const ShownDialog* d = user.last(104);
    EXPECT_EQ(d->window.caption, "Enter Password Information");
    EXPECT_EQ(d->focus_id, 1005);
    EXPECT_EQ(text_of(d->window, 1003), "admin");
    EXPECT_EQ(text_of(d->window, 1007), PasswordHelpText);
    EXPECT_TRUE(shows_whole_lines(d->screen, PasswordHelpText)) << d->screen;
    EXPECT_NE(std::string(PasswordHelpText).find("* * * * * * * * * * *  Warning  * * * * * * * * * * *\r\n"),
              std::string::npos);
    EXPECT_NE(std::string(PasswordHelpText).find("reset!  You"), std::string::npos);

    std::string long_password(200, 'p');
    user.answers[104] = [&](Window&) { post_keys((long_password + "\n").c_str()); };
    EXPECT_EQ(password_dialog(), 1);
    EXPECT_EQ(text_of(user.last(104)->window, 1003), "admin") << "admin again, whatever was typed before";
    EXPECT_EQ(std::strlen(g_state.digest.password), 126u);
    EXPECT_STREQ(g_state.digest.username, "admin");

    answer_key(104, KeyEscape);
    std::strcpy(g_state.digest.password, "kept");
    EXPECT_EQ(password_dialog(), 0);
    EXPECT_STREQ(g_state.digest.password, "kept") << "Cancel stores nothing";
}

TEST_F(Dialogs, EveryTemplateFitsAHundredByThirtyTwoAndLongTextsScrollAtEightyByTwentyFour) {
    const int ids[] = {101, 103, 104, 105, 110, 111, 114, 139, 304, 305};
    for (int id : ids) {
        Window w;
        const DialogTemplate* t = find_dialog_template(id);
        ASSERT_NE(t, nullptr);
        w.t = t;
        w.caption = t->caption;
        for (int i = 0; i < t->control_count; ++i) {
            w.controls.emplace_back();
            w.controls.back().t = &t->controls[i];
        }
        if (id == 104) w.controls.back().text = PasswordHelpText;
        int width, height;
        dialog_size(w, 100, 32, &width, &height);
        EXPECT_LE(width, 100) << id;
        EXPECT_LE(height, 32) << id;
    }
    user.install(80, 24);
    answer_key(104, KeyEscape);
    password_dialog();
    const ShownDialog* d = user.last(104);
    EXPECT_NE(d->screen.find("This NUV requires a password in order to be"), std::string::npos) << d->screen;
    EXPECT_EQ(d->screen.find("information."), std::string::npos) << "the end of the text is scrolled away";
    EXPECT_NE(d->screen.find("PgUp/PgDn"), std::string::npos) << d->screen;
}
}  // namespace
