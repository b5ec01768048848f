// Protection as a user sets it up: a password on the settings page, the
// window hidden, a second start of the program that asks for the password
// before the window comes back, and what settings.dat keeps at the exit.

#include <gtest/gtest.h>

#include <string>

#include "resources/resource.h"
#include "support/settings_bytes.h"
#include "support/shipped_program_ui_win.h"
#include "support/temp_dir.h"
#include "support/typing_ui_win.h"

TEST(ShippedProgram, AsksTheSetPasswordAtASecondStartWhileHidden) {
  TempDir install;
  ShippedProgram program(install.Path());
  HWND main = program.WaitForMainWindow();
  ASSERT_TRUE(main);
  // The settings page is the first one shown.
  HWND protect = FindDescendant(main, IDC_PROTECT_WITH_PASSWORD);
  ASSERT_TRUE(program.Until("the settings page", [&] { return IsUsable(protect); }));
  HWND password = FindDescendant(main, IDC_PASSWORD);
  HWND confirm = FindDescendant(main, IDC_CONFIRM_PASSWORD);
  ASSERT_TRUE(program.ClickUntil(
      "the password boxes", [&] { return CentreOf(protect); }, [&] { return IsUsable(password); }));
  ASSERT_TRUE(program.TypeInto(password, "abc"));
  ASSERT_TRUE(program.TypeInto(confirm, "abc"));
  HWND apply = FindDescendant(main, IDC_APPLY);
  ASSERT_TRUE(program.ClickUntil(
      "Apply done", [&] { return CentreOf(apply); }, [&] { return !::IsWindowEnabled(apply); }));

  // Alt+F4 hides the window; the program stays in the notification area.
  PressKey(VK_F4, {VK_MENU});
  ASSERT_TRUE(program.Until("the window hidden", [&] { return !::IsWindowVisible(main); }));

  {
    ShippedProgram second(install.Path(), ShippedProgram::Copy::kNo);
    DWORD secondCode = 1;
    ASSERT_TRUE(second.WaitForExit(secondCode));
    EXPECT_EQ(secondCode, 0u);
  }
  // The running program asks; a wrong password is refused and asked again.
  HWND prompt = program.WaitForWindow("Enter password");
  ASSERT_TRUE(prompt);
  HWND typed = FindDescendant(prompt, IDC_PROMPT_PASSWORD);
  ASSERT_TRUE(program.TypeInto(typed, "abd"));
  ASSERT_TRUE(program.Press(prompt, IDOK, "the wrong password refused",
                            [&] { return program.FindWindow("Error") != nullptr; }));
  HWND wrong = program.WaitForWindow("Error");
  ASSERT_TRUE(wrong);
  EXPECT_EQ(ReadText(FindDescendant(wrong, IDC_BOX_TEXT)), "Wrong password.");
  ASSERT_TRUE(program.Press(wrong, IDOK, "the message closed"));
  EXPECT_FALSE(::IsWindowVisible(main));
  ASSERT_TRUE(program.TypeInto(typed, "abc"));
  ASSERT_TRUE(program.Press(prompt, IDOK, "the password taken"));
  ASSERT_TRUE(program.Until("the window shown", [&] { return ::IsWindowVisible(main); }));

  DWORD exitCode = 1;
  ASSERT_TRUE(ExitFromTrayMenu(program, main, exitCode));
  EXPECT_EQ(exitCode, 0u);
  const std::string settings = ReadWholeFile(install / "settings.dat");
  ASSERT_EQ(settings.size(), settings_bytes::kHashAt + 64);
  EXPECT_EQ(settings[settings_bytes::kProtectFlagAt], 1);
  EXPECT_EQ(settings_bytes::ReadInt(settings, settings_bytes::kHashAt - 4), 64);
  // SHA-256 of "abc", in upper-case hex.
  EXPECT_EQ(settings.substr(settings_bytes::kHashAt),
            "BA7816BF8F01CFEA414140DE5DAE2223B00361A396177A9CB410FF61F20015AD");

  // The file cut inside its hash, from a hidden window: the program says so
  // and starts shown and unprotected, rather than locked for good.
  std::string cut = settings.substr(0, 80);
  cut.replace(settings_bytes::OffsetOf(settings_bytes::Field::kShowCommand), 4,
              settings_bytes::Int(0));
  WriteWholeFile(install / "settings.dat", cut);
  ShippedProgram again(install.Path(), ShippedProgram::Copy::kNo);
  HWND wrongFile = again.WaitForWindow("Error");
  ASSERT_TRUE(wrongFile);
  EXPECT_EQ(ReadText(FindDescendant(wrongFile, IDC_BOX_TEXT)), "Wrong settings.dat");
  ASSERT_TRUE(again.Press(wrongFile, IDOK, "the message closed"));
  main = again.WaitForMainWindow();
  ASSERT_TRUE(main);
  ASSERT_TRUE(ExitFromTrayMenu(again, main, exitCode));
  const std::string repaired = ReadWholeFile(install / "settings.dat");
  EXPECT_EQ(repaired.size(), settings_bytes::kSizeWithoutHash);
  EXPECT_EQ(repaired[settings_bytes::kProtectFlagAt], 0);
}
