#include "core/settings.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "core/data_folder.h"
#include "core/errors.h"
#include "core/ini_file.h"
#include "tests/support/temp_folder.h"

namespace traveno {
namespace {

std::string FileText(const std::filesystem::path& path) {
  std::ifstream file(path, std::ios::binary);
  std::stringstream content;
  content << file.rdbuf();
  return content.str();
}

TEST(SettingsTest, AMissingFileGivesTheDefaults) {
  testing::TempFolder folder;
  const ProgramSettings settings = LoadSettings(folder.path());
  EXPECT_EQ(settings.conf_exit, "N");
  EXPECT_FALSE(settings.password.IsSet());
  EXPECT_TRUE(settings.password.Verify(""));
  EXPECT_EQ(LoadWindowCount(folder.path()), 10);
  const PaySlipFooter footer = LoadFooter(folder.path(), "ABC");
  EXPECT_EQ(footer.line1, "       Conducerea firmei va multumeste pentru efortul depus.");
  EXPECT_EQ(footer.line2, "");
  const DeclarationSigner signer = LoadSigner(folder.path());
  EXPECT_EQ(signer.nume, "");
  EXPECT_FALSE(std::filesystem::exists(folder.path() / kSettingsFileName));
}

TEST(SettingsTest, ExitConfirmationCheckedAndAsked) {
  struct Case {
    const char* stored;
    bool checked;
    bool asks;
  };
  const Case kCases[] = {{"Y", true, true}, {"y", true, false}, {"Yes", true, false},
                         {" yes", true, false}, {"N", false, false}, {"", false, false}};
  for (const Case& c : kCases) {
    ProgramSettings settings;
    settings.conf_exit = c.stored;
    EXPECT_EQ(ExitConfirmationChecked(settings), c.checked) << c.stored;
    EXPECT_EQ(AsksOnExit(settings), c.asks) << c.stored;
  }
}

TEST(SettingsTest, FootersKeepTheirLeadingBlanksPerCompany) {
  testing::TempFolder folder;
  SaveFooter(folder.path(), "ABC", {"   Multumim!", "  a doua linie  "});
  SaveFooter(folder.path(), "XYZ", {"", ""});
  const PaySlipFooter abc = LoadFooter(folder.path(), "ABC");
  EXPECT_EQ(abc.line1, "   Multumim!");
  EXPECT_EQ(abc.line2, "  a doua linie");  // trailing blanks do not survive the file
  const PaySlipFooter xyz = LoadFooter(folder.path(), "XYZ");
  EXPECT_EQ(xyz.line1, "");
  EXPECT_EQ(xyz.line2, "");
  EXPECT_NE(FileText(folder.path() / kSettingsFileName).find("TextFluturas1_ABC=.   Multumim!"),
            std::string::npos);
  SaveFooter(folder.path(), "ABC", {std::string(80, 'x'), ""});
  EXPECT_EQ(LoadFooter(folder.path(), "ABC").line1.size(), kFooterWidth);
}

TEST(SettingsTest, SignerIsStoredUpperCasedAndTrimmed) {
  testing::TempFolder folder;
  SaveSigner(folder.path(), {" popescu ", "ion", "director economic", " b "}, false);
  DeclarationSigner signer = LoadSigner(folder.path());
  EXPECT_EQ(signer.nume, "POPESCU");
  EXPECT_EQ(signer.functie, "DIRECTOR ECONOMIC");
  EXPECT_EQ(signer.cod_judet, "");
  SaveSigner(folder.path(), signer, true);
  signer.cod_judet = "b";
  SaveSigner(folder.path(), signer, true);
  EXPECT_EQ(LoadSigner(folder.path()).cod_judet, "B");
}

TEST(SettingsTest, TheSignerIsRefusedPastItsWidthOrWhenItIsNotText) {
  testing::TempFolder folder;
  SaveSigner(folder.path(), {"Popescu", "Ion", "Director", "B"}, true);
  const std::string kept = FileText(folder.path() / kSettingsFileName);
  // Each value at its width is taken, counted in letters, not bytes.
  auto letters = [](std::size_t count) {
    std::string text;
    for (std::size_t i = 0; i < count; ++i) text += "Ţ";
    return text;
  };
  struct Case {
    DeclarationSigner signer;
    bool saved;
  };
  const Case kCases[] = {
      {{letters(kSignerSurnameWidth), letters(kSignerFirstNameWidth),
        letters(kSignerPositionWidth), "ABC"},
       true},
      {{std::string(10000, 'A'), "Ion", "Director", "B"}, false},
      {{letters(kSignerSurnameWidth + 1), "Ion", "Director", "B"}, false},
      {{"Popescu", letters(kSignerFirstNameWidth + 1), "Director", "B"}, false},
      {{"Popescu", "Ion", letters(kSignerPositionWidth + 1), "B"}, false},
      {{"Popescu", "Ion", "Director", "ABCD"}, false},
      {{"Pop\xC3", "Ion", "Director", "B"}, false},
      {{"Popescu", "I\xFFon", "Director", "B"}, false},
      {{"Popescu", "Ion", "Dir\tector", "B"}, false},
  };
  for (const Case& c : kCases) {
    SaveSigner(folder.path(), {"Popescu", "Ion", "Director", "B"}, true);
    if (c.saved) {
      EXPECT_NO_THROW(SaveSigner(folder.path(), c.signer, true)) << c.signer.nume;
    } else {
      EXPECT_THROW(SaveSigner(folder.path(), c.signer, true), Error) << c.signer.nume;
      // Nothing of a refused signer is written, not even its valid parts.
      EXPECT_EQ(FileText(folder.path() / kSettingsFileName), kept) << c.signer.nume;
    }
  }
  // Without the county code, only the three names are checked.
  EXPECT_NO_THROW(SaveSigner(folder.path(), {"Popescu", "Ion", "Director", "ABCD"}, false));
}

TEST(SettingsTest, ASignerWrittenByHandIsReadWithinItsRules) {
  testing::TempFolder folder;
  {
    std::ofstream file(folder.path() / kSettingsFileName, std::ios::binary);
    file << "[Program]\r\nNume=" << std::string(10000, 'X') << "\r\nPrenume=I\xFFON\r\n"
         << "Functie=DIRECTOR\r\nCodJudet=BUCURESTI\r\n";
  }
  const DeclarationSigner signer = LoadSigner(folder.path());
  EXPECT_EQ(signer.nume, std::string(kSignerSurnameWidth, 'X'));
  EXPECT_EQ(signer.prenume, "");
  EXPECT_EQ(signer.functie, "DIRECTOR");
  EXPECT_EQ(signer.cod_judet, "BUC");
  // What is read can be saved again.
  EXPECT_NO_THROW(SaveSigner(folder.path(), signer, true));
}

TEST(SettingsTest, OtherSectionsAndKeysSurviveAWrite) {
  testing::TempFolder folder;
  const auto path = folder.path() / kSettingsFileName;
  {
    std::ofstream file(path, std::ios::binary);
    file << "[Altceva]\r\nCheie=valoare\r\n[PROGRAM]\r\nwindowsno=14\r\n";
  }
  EXPECT_EQ(LoadWindowCount(folder.path()), 14);
  SaveWindowCount(folder.path(), 17);
  EXPECT_EQ(LoadWindowCount(folder.path()), 17);
  EXPECT_EQ(IniFile(path).Read("Altceva", "cheie", ""), "valoare");
  EXPECT_EQ(FileText(path).find("windowsno=14"), std::string::npos);
}

TEST(PasswordTest, TheFileHoldsOnlyASaltedHash) {
  testing::TempFolder folder;
  ProgramSettings settings;
  settings.conf_exit = "Y";
  settings.password = StartPassword::FromClearText("Secret9");
  SaveSettings(folder.path(), settings);
  const std::string text = FileText(folder.path() / kSettingsFileName);
  EXPECT_EQ(text.find("Secret9"), std::string::npos);
  EXPECT_EQ(text.find(ScramblePassword("Secret9")), std::string::npos);
  EXPECT_NE(text.find("Parola=.$argon2id$"), std::string::npos);

  const ProgramSettings loaded = LoadSettings(folder.path());
  EXPECT_EQ(loaded.conf_exit, "Y");
  EXPECT_TRUE(loaded.password.IsSet());
  EXPECT_TRUE(loaded.password.Verify("Secret9"));
  EXPECT_FALSE(loaded.password.Verify("secret9"));
  EXPECT_FALSE(loaded.password.Verify(""));
  // The same password hashed twice gives two different values (salted).
  EXPECT_NE(StartPassword::FromClearText("Secret9").StoredValue(), settings.password.StoredValue());
}

TEST(PasswordTest, AnOldShiftedValueStillLogsInAndIsReplacedByAHash) {
  testing::TempFolder folder;
  IniFile(folder.path() / kSettingsFileName)
      .Write(kProgramSection, "Parola", "." + ScramblePassword("abc"));
  ProgramSettings settings = LoadSettings(folder.path());
  EXPECT_TRUE(settings.password.Verify("abc"));
  EXPECT_FALSE(settings.password.Verify("bcd"));
  SaveSettings(folder.path(), settings);
  const std::string text = FileText(folder.path() / kSettingsFileName);
  EXPECT_EQ(text.find("Parola=.bcd"), std::string::npos);
  EXPECT_TRUE(LoadSettings(folder.path()).password.Verify("abc"));
}

TEST(PasswordTest, EmptyPasswordIsStoredAsADotAlone) {
  testing::TempFolder folder;
  ProgramSettings settings;
  settings.password = StartPassword::FromClearText("");
  SaveSettings(folder.path(), settings);
  EXPECT_EQ(IniFile(folder.path() / kSettingsFileName).Read(kProgramSection, "Parola", "?"), ".");
  // A value without its leading "." still loses its first character.
  EXPECT_TRUE(StartPassword::FromStoredValue("xbcd").Verify("abc"));
  EXPECT_FALSE(StartPassword::FromStoredValue("").IsSet());
  EXPECT_EQ(UnscramblePassword(ScramblePassword(std::string("\xff\x00z", 3))),
            std::string("\xff\x00z", 3));
}

TEST(SettingsTest, AReadOnlySettingsFileIsMadeWritable) {
  testing::TempFolder folder;
  SaveWindowCount(folder.path(), 3);
  const auto path = folder.path() / kSettingsFileName;
  std::filesystem::permissions(path, std::filesystem::perms::owner_read,
                               std::filesystem::perm_options::replace);
  LoadSettings(folder.path());
  EXPECT_NE(std::filesystem::status(path).permissions() & std::filesystem::perms::owner_write,
            std::filesystem::perms::none);
}

}  // namespace
}  // namespace traveno
