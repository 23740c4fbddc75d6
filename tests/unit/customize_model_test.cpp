#include "ui/customize/customize_model.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/fake_platform.h"
#include "temp_dir.h"

namespace lk::ui::customize {
namespace {

using lk::testing::Lines;
using lk::testing::ReadBytes;
using lk::testing::TempDir;
using lk::testing::WriteBytes;
using settings::SettingsStore;

const std::string kNumericMessage = "MessageBox [Numeric value required] plain title [Lekhopakar]";

// One opening of the dialog over a settings file of its own.
struct Dialog {
  TempDir dir;
  SettingsStore store{dir.ini()};
  platform::FakePlatform fake;
  CustomizeModel model{fake, store};

  Dialog() { fake.fonts = {"Arial", "Preeti", "Lohit Devanagari"}; }
  void Open(const std::string& ini = {}) {
    if (!ini.empty()) WriteBytes(dir.ini(), ini);
    model.Open();
  }
  // A fresh opening of the same file, as the next Command10 click makes.
  CustomizeModel Reopen() {
    CustomizeModel next(fake, store);
    next.Open();
    return next;
  }
  int Messages() const { return fake.Count("MessageBox"); }
  std::vector<std::string> IniLines() const { return Lines(ReadBytes(dir.ini())); }
  const std::string& At(int row, int index) const { return model.Text(id::Field(row, index)); }
  void Type(int row, int index, const std::string& text) { model.SetText(id::Field(row, index), text); }
};

TEST(CustomizeOpening, WithoutCustomizeSectionShowsTheDialogsDefaults) {
  Dialog d;
  d.Open("[Font]\r\nLastFont=Arial\r\n");
  for (int row = 1; row <= kRows; ++row)
    for (int index = 0; index < kColumns; ++index) EXPECT_EQ(d.At(row, index), "x") << row << "/" << index;
  EXPECT_EQ(d.model.Text(id::kRepeat), "3");
  EXPECT_EQ(d.model.Text(id::kCharacter), "");
  EXPECT_EQ(d.model.Text(id::kCaption6), "");
  EXPECT_EQ(d.model.Text(id::kTooltip6), "");
  EXPECT_EQ(d.model.FontListText(), "Preeti");
  EXPECT_EQ(d.model.fontIndex(), 1);
  EXPECT_EQ(d.model.SizeListText(), "14");
  EXPECT_EQ(d.model.styledFontName(), "Preeti");
  EXPECT_FLOAT_EQ(d.model.styledPoints(), 14);
  EXPECT_EQ(d.Messages(), 0);
  EXPECT_EQ(d.IniLines(), (std::vector<std::string>{"[Font]", "LastFont=Arial"})) << "opening writes nothing";
}

TEST(CustomizeOpening, StoredValuesWinOverThePreviewAndFontNamesIgnoreCase) {
  Dialog d;
  // A stored result that the preview would never compute: loading ends with it.
  d.Open("[CUSTOMIZE]\r\nin103=(\r\nsel03=abc\r\nin203=)\r\nres03=zzz\r\nsel01=ls\r\nCFONTNAME=lohit devanagari\r\n"
         "fontsize=24\r\n");
  EXPECT_EQ(d.At(3, 3), "zzz");
  EXPECT_EQ(d.At(1, 1), "ls");
  EXPECT_EQ(d.model.fontIndex(), 2);
  EXPECT_EQ(d.model.FontListText(), "Lohit Devanagari");
  EXPECT_EQ(d.model.styledFontName(), "Lohit Devanagari");
  EXPECT_FLOAT_EQ(d.model.styledPoints(), 24);
}

TEST(CustomizeOpening, FontOrSizeNotInTheListsShowsNoEntryAndKeepsTheStoredValue) {
  Dialog d;
  d.fake.fonts = {"DejaVu Sans"};
  d.Open("[Customize]\r\nfontsize=13\r\n");
  EXPECT_EQ(d.model.fontIndex(), -1);
  EXPECT_EQ(d.model.FontListText(), "");
  EXPECT_EQ(d.model.styledFontName(), "Preeti");
  EXPECT_EQ(d.model.sizeIndex(), -1);
  EXPECT_EQ(d.model.SizeListText(), "");
  EXPECT_FLOAT_EQ(d.model.styledPoints(), 13);

  for (const char* bad : {"big", "0", "-4", "5000"}) {
    Dialog other;
    other.Open(std::string("[Customize]\r\nfontsize=") + bad + "\r\n");
    EXPECT_FLOAT_EQ(other.model.styledPoints(), kDefaultPoints) << bad;
  }

  // Picking entries afterwards works as usual; out-of-range picks change nothing.
  d.model.PickFont(0);
  d.model.PickSize(4);
  d.model.PickFont(7);
  d.model.PickSize(-1);
  EXPECT_EQ(d.model.FontListText(), "DejaVu Sans");
  EXPECT_EQ(d.model.SizeListText(), "24");
  EXPECT_FLOAT_EQ(d.model.styledPoints(), 24);
}

TEST(CustomizeSave, LoadDefaultThenSaveWritesTheFactoryTableInOrder) {
  Dialog d;
  d.Open();
  int assigned = 0;
  d.model.LoadDefaults();
  EXPECT_FALSE(std::filesystem::exists(d.dir.ini())) << "Load Default writes nothing";
  d.model.Save([&] { ++assigned; });
  EXPECT_EQ(assigned, 1);
  const std::vector<std::string> expected = {
      "[Customize]",
      "in101=l", "sel01=ls", "in201=L", "res01=sL", "cap01=Ll", "ttt01=Change Raswa to Dirgha",
      "in102='", "sel02=g'", "in202=\"", "res02=g\"", "cap02='\"",
      "ttt02=Change Raswa Ukar to dirhga ukar and vice versa",
      "in103=-", "sel03=g]kfn", "in203=_", "res03=-g]kfn_", "cap03=-/_", "ttt03=Puts braces around selection",
      "in104=\xE6", "sel04=ldq", "in204=\xC6", "res04=\xE6ldq\xC6", "cap04=\xE6/\xC6",
      "ttt04=Puts double quotes around selection",
      "in105=\x85", "sel05=rfa]n", "in205=\xDA", "res05=\x85rfa]n\xDA", "cap05=\x85/\xDA",
      "ttt05=Puts single quotes around selection",
      "Character==", "Repeat=3", "cap06====", "ttt06=Dot Dot Dot", "fontsize=14", "CfontName=Preeti"};
  EXPECT_EQ(d.IniLines(), expected);

  // A second Save rewrites the same keys in place and relabels again.
  d.model.Save([&] { ++assigned; });
  EXPECT_EQ(d.IniLines(), expected);
  EXPECT_EQ(assigned, 2);
  EXPECT_EQ(d.Messages(), 0);
}

TEST(CustomizeSave, AFileThatCannotBeWrittenIsToldOnceAndTheToolbarStillRelabels) {
  TempDir dir;
  SettingsStore store(dir.path() / "gone" / "LK.ini");  // a folder that does not exist
  platform::FakePlatform fake;
  CustomizeModel model(fake, store);
  model.Open();
  int assigned = 0;
  EXPECT_FALSE(model.Save([&] { ++assigned; }));
  EXPECT_EQ(assigned, 1);
  EXPECT_EQ(fake.Count("MessageBox [The settings could not be saved"), 1);
  EXPECT_EQ(fake.Count("MessageBox"), 1);
}

TEST(CustomizeSave, LoadDefaultLeavesTheListsAndEndsWithTheTableWhateverCameBefore) {
  Dialog d;
  d.Open("[Customize]\r\nin103=[[\r\nsel03=q\r\nres01=?\r\nfontsize=18\r\nCfontName=Arial\r\n");
  d.model.LoadDefaults();
  d.model.LoadDefaults();
  EXPECT_EQ(d.At(3, 3), "-g]kfn_");
  EXPECT_EQ(d.At(1, 3), "sL");
  EXPECT_EQ(d.At(4, 3), "\xE6ldq\xC6");
  EXPECT_EQ(d.model.FontListText(), "Arial");
  EXPECT_EQ(d.model.SizeListText(), "18");
}

TEST(CustomizeSave, EmptyFieldsWriteEmptyValuesAndCaption6ChangesOnlyItsKey) {
  Dialog d;
  d.Open();
  d.model.SetText(id::kCaption6, "cap");
  d.model.SetText(id::kRepeat, "");  // allowed to be saved empty after the message
  d.model.Save({});
  const auto lines = d.IniLines();
  ASSERT_EQ(lines.size(), 37u);
  EXPECT_EQ(lines[31], "Character=");
  EXPECT_EQ(lines[32], "Repeat=");
  EXPECT_EQ(lines[33], "cap06=cap");
  EXPECT_EQ(lines[34], "ttt06=");
  // An empty Repeat loads as no change: no message at the next opening.
  const int before = d.Messages();
  const auto next = d.Reopen();
  EXPECT_EQ(next.Text(id::kRepeat), "");
  EXPECT_EQ(d.Messages(), before);
}

TEST(CustomizeOneCharacter, InsertionsOfButtons1And2KeepTheirFirstCharacter) {
  Dialog d;
  d.Open("[Customize]\r\nin101=ab\r\nin202=xyz\r\nin103=long\r\n");
  EXPECT_EQ(d.At(1, 0), "a");
  EXPECT_EQ(d.At(2, 2), "x");
  EXPECT_EQ(d.At(3, 0), "long");
  d.Type(1, 2, "QR");
  d.Type(1, 4, "caption");
  EXPECT_EQ(d.At(1, 2), "Q");
  EXPECT_EQ(d.At(1, 3), "sQ");
  EXPECT_EQ(d.At(1, 4), "caption");
  d.model.Save({});
  EXPECT_EQ(d.Reopen().Text(id::Field(1, 0)), "a");
  EXPECT_TRUE(IsOneCharacterField(id::Field(2, 0)));
  EXPECT_FALSE(IsOneCharacterField(id::Field(2, 1)));
  EXPECT_FALSE(IsOneCharacterField(id::Field(3, 2)));
}

TEST(CustomizePreview, Row1SampleFollowsTheFirstInsertionOnly) {
  Dialog d;
  d.Open();
  d.Type(1, 0, "");
  EXPECT_EQ(d.At(1, 1), "s");
  d.Type(1, 0, "k");
  EXPECT_EQ(d.At(1, 1), "ks");
  d.Type(1, 0, "");
  EXPECT_EQ(d.At(1, 1), "s");
  EXPECT_EQ(d.At(1, 3), "x");
}

TEST(CustomizePreview, Row2ResultFollowsTheSecondInsertionOnly) {
  Dialog d;
  d.Open();
  d.Type(2, 2, "\xDA");
  EXPECT_EQ(d.At(2, 3), "g\xDA");
  d.Type(2, 2, "");
  EXPECT_EQ(d.At(2, 3), "g");
  d.Type(2, 0, "'");
  EXPECT_EQ(d.At(2, 1), "g'");
  EXPECT_EQ(d.At(2, 3), "g");
}

TEST(CustomizePreview, Rows3To5WrapTheSampleAndNeverWriteIt) {
  Dialog d;
  d.Open();
  d.Type(3, 0, "a");
  EXPECT_EQ(d.At(3, 3), "axx");
  d.Type(1, 0, "a");
  EXPECT_EQ(d.At(1, 1), "as");
  EXPECT_EQ(d.At(1, 3), "x");

  d.model.LoadDefaults();
  d.Type(3, 2, "");
  EXPECT_EQ(d.At(3, 3), "-g]kfn");
  d.Type(3, 2, "_");
  EXPECT_EQ(d.At(3, 3), "-g]kfn_");
  EXPECT_EQ(d.At(3, 1), "g]kfn");

  // Outputs, captions and tooltips run nothing.
  d.Type(5, 1, "new");
  d.Type(5, 4, "c");
  d.Type(5, 5, "t");
  d.Type(5, 3, "r");
  EXPECT_EQ(d.At(5, 3), "r");
  d.Type(5, 0, "");
  EXPECT_EQ(d.At(5, 3), "new\xDA");
  EXPECT_EQ(d.Messages(), 0);
}

TEST(CustomizeChanges, ReportEachChangedFieldOnceInOrderAndNothingForIdenticalText) {
  Dialog d;
  d.Open();
  d.model.TakeChangedFields();
  d.Type(1, 0, "x");  // what it already holds
  EXPECT_TRUE(d.model.TakeChangedFields().empty());
  d.Type(4, 0, "(");
  d.Type(4, 2, ")");
  EXPECT_EQ(d.model.TakeChangedFields(), (std::vector<int>{id::Field(4, 0), id::Field(4, 3), id::Field(4, 2)}));
  EXPECT_TRUE(d.model.TakeChangedFields().empty());
}

// Ids reach the model from window messages; a label's, a list's or a
// stranger's is no field and changes nothing.
TEST(CustomizeChanges, IdsThatAreNoFieldHoldNoTextAndTakeNone) {
  Dialog d;
  d.Open();
  d.model.TakeChangedFields();
  for (const int other : {id::kFontList, id::Label(1), id::kSave, 0, 306, 999}) {
    d.model.SetText(other, "abc");
    EXPECT_EQ(d.model.Text(other), "") << other;
  }
  EXPECT_TRUE(d.model.TakeChangedFields().empty());
  EXPECT_EQ(d.At(1, 0), "x");
}

TEST(CustomizeCount, NumbersPassAndOtherTextShowsOneMessageAndEmptiesTheField) {
  Dialog d;
  d.Open();
  d.model.TakeFocusRequest();
  for (const char* good : {"-2", "2.5", " 7 ", "+1", "10."}) {
    d.model.SetText(id::kRepeat, good);
    EXPECT_EQ(d.model.Text(id::kRepeat), good);
  }
  EXPECT_EQ(d.Messages(), 0);
  EXPECT_FALSE(d.model.TakeFocusRequest());

  for (const char* bad : {"a", "", "1a", "  ", "."}) {
    d.model.SetText(id::kRepeat, "3");
    d.model.TakeChangedFields();
    const int before = d.Messages();
    d.model.SetText(id::kRepeat, bad);
    EXPECT_EQ(d.Messages(), before + 1) << "[" << bad << "]";
    EXPECT_EQ(d.fake.calls.back(), kNumericMessage);
    EXPECT_EQ(d.model.Text(id::kRepeat), "");
    EXPECT_TRUE(d.model.TakeFocusRequest());
    // The control still shows what was typed: it must be told to empty it.
    EXPECT_EQ(d.model.TakeChangedFields(), std::vector<int>{id::kRepeat});
  }
}

TEST(CustomizeCount, StoredNonNumericRepeatShowsOneMessageDuringLoad) {
  Dialog d;
  d.Open("[Customize]\r\nRepeat=many\r\nttt06=tip\r\n");
  EXPECT_EQ(d.Messages(), 1);
  EXPECT_EQ(d.fake.calls, std::vector<std::string>{kNumericMessage});
  EXPECT_EQ(d.model.Text(id::kRepeat), "");
  EXPECT_TRUE(d.model.TakeFocusRequest());
  EXPECT_EQ(d.model.Text(id::kTooltip6), "tip") << "loading goes on after the message";
}

TEST(CustomizeRoundTrip, ValuesComeBackUnderTheStoresRules) {
  Dialog d;
  d.Open();
  d.model.LoadDefaults();
  d.model.SetText(id::kCharacter, " ");
  d.Type(3, 0, "\"");
  d.Type(3, 2, "\"");
  ASSERT_EQ(d.At(3, 3), "\"g]kfn\"");
  d.Type(4, 5, "  spaced tip  ");
  d.Type(5, 0, "'");
  d.Type(5, 2, "'");
  d.model.Save({});

  const auto next = d.Reopen();
  EXPECT_EQ(next.Text(id::kCharacter), "");
  EXPECT_EQ(next.Text(id::Field(3, 3)), "g]kfn");
  EXPECT_EQ(next.Text(id::Field(3, 0)), "\"");
  EXPECT_EQ(next.Text(id::Field(3, 2)), "\"");
  EXPECT_EQ(next.Text(id::Field(5, 3)), "rfa]n");
  EXPECT_EQ(next.Text(id::Field(4, 5)), "spaced tip");
  EXPECT_EQ(next.Text(id::Field(2, 0)), "'");
  EXPECT_EQ(next.Text(id::Field(2, 2)), "\"");
  EXPECT_EQ(next.Text(id::Field(2, 4)), "'\"");
  EXPECT_EQ(next.Text(id::kCaption6), "===");
  EXPECT_EQ(d.Messages(), 0);
}

}  // namespace
}  // namespace lk::ui::customize
