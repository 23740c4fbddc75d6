#include "settings/ini_document.h"

#include <gtest/gtest.h>

#include <string>

namespace lk::settings {
namespace {

TEST(IniDocument, UntouchedDocumentSerializesToItsOwnLines) {
  const std::string text = "; comment\r\n\r\n[A]\r\n  k = v  \r\nnoise\r\n[B]\r\nx=1\r\n";
  EXPECT_EQ(IniDocument::Parse(text).Serialize(), text);
}

TEST(IniDocument, FindMatchesTrimmedNamesAndKeepsTheRawValue) {
  const auto doc = IniDocument::Parse("[ Font ]\n  LastFont  = Preeti \nEmpty=\n" + std::string("n=a\0b\n", 6));
  EXPECT_EQ(doc.Find("font", "lastfont"), " Preeti ");
  EXPECT_EQ(doc.Find("Font", "Empty"), "");
  EXPECT_EQ(doc.Find("Font", "n"), "a");
  EXPECT_EQ(doc.Find("Font", "Missing"), std::nullopt);
  EXPECT_EQ(doc.Find("WinPos", "LastFont"), std::nullopt);
}

TEST(IniDocument, SetReplacesTheFirstMatchAndDropsLaterDuplicatesOfThatSectionOnly) {
  auto doc = IniDocument::Parse("[S]\ncharacter=a\nother=1\nCHARACTER=b\n[T]\ncharacter=t\n");
  doc.Set("s", "Character", "=");
  EXPECT_EQ(doc.Serialize(), "[S]\r\ncharacter==\r\nother=1\r\n[T]\r\ncharacter=t\r\n");
}

TEST(IniDocument, SetAddsTheKeyToItsOwnSectionAndNewSectionsAtTheEnd) {
  auto doc = IniDocument::Parse("[A]\na=1\n\n[B]\nb=2\n");
  doc.Set("A", "new", "x");
  doc.Set("C", "c", "3");
  EXPECT_EQ(doc.Find("A", "new"), "x");
  EXPECT_EQ(doc.Find("B", "new"), std::nullopt);
  EXPECT_EQ(doc.Find("B", "b"), "2");
  EXPECT_EQ(doc.Find("C", "c"), "3");

  auto empty = IniDocument::Parse("");
  empty.Set("WinPos", "Left", " 0");
  EXPECT_EQ(empty.Find("WinPos", "Left"), " 0");
}

TEST(IniDocument, SetCutsTheValueAtTheFirstLineBreakOrNul) {
  auto doc = IniDocument::Parse("[S]\n");
  doc.Set("S", "a", std::string("x\0y=1", 5));
  doc.Set("S", "b", "y\r\nz=1");
  const auto reparsed = IniDocument::Parse(doc.Serialize());
  EXPECT_EQ(reparsed.Find("S", "a"), "x");
  EXPECT_EQ(reparsed.Find("S", "b"), "y");
  EXPECT_EQ(reparsed.Find("S", "z"), std::nullopt);
}

}  // namespace
}  // namespace lk::settings
