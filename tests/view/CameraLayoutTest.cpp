// The 636-byte layout record: field offsets, little-endian words, the
// Windows-1251 name.

#include <gtest/gtest.h>

#include <array>

#include "view/CameraLayout.h"

TEST(CameraLayoutRecord, FieldsLieAtTheirOffsetsLittleEndian) {
  CameraLayout layout;
  layout.GridSize = 5;
  layout.Row[1] = 0x01020304;
  layout.Column[35] = -2;
  layout.WidthSpan[0] = 3;
  layout.HeightSpan[2] = 4;
  layout.Visible[35] = 1;
  std::array<unsigned char, CameraLayout::RecordSize> bytes{};
  EncodeLayout(layout, bytes.data());
  EXPECT_EQ(bytes[20], 5);
  EXPECT_EQ(bytes[24 + 4], 0x04);
  EXPECT_EQ(bytes[24 + 7], 0x01);
  EXPECT_EQ(bytes[168 + 4 * 35], 0xFE);
  EXPECT_EQ(bytes[168 + 4 * 35 + 3], 0xFF);
  EXPECT_EQ(bytes[312], 3);
  EXPECT_EQ(bytes[456 + 8], 4);
  EXPECT_EQ(bytes[635], 1);

  const CameraLayout back = DecodeLayout(bytes.data());
  EXPECT_EQ(back.GridSize, 5);
  EXPECT_EQ(back.Row[1], 0x01020304);
  EXPECT_EQ(back.Column[35], -2);
  EXPECT_EQ(back.HeightSpan[2], 4);
  EXPECT_EQ(back.Visible[35], 1);
}

TEST(CameraLayoutName, IsWindows1251ZeroTerminatedAndCutAt19Bytes) {
  CameraLayout layout;
  layout.Name.fill('x');
  layout.SetNameText(QStringLiteral("Вход"));
  EXPECT_EQ(static_cast<unsigned char>(layout.Name[0]), 0xC2);  // В
  EXPECT_EQ(static_cast<unsigned char>(layout.Name[3]), 0xE4);  // д
  for (int i = 4; i < CameraLayout::NameSize; ++i) EXPECT_EQ(layout.Name[i], 0) << i;
  EXPECT_EQ(layout.NameText(), QStringLiteral("Вход"));

  layout.SetNameText(QStringLiteral("Очень длинное название"));
  EXPECT_EQ(layout.Name[19], 0);
  EXPECT_EQ(layout.NameText(), QStringLiteral("Очень длинное назва"));
}

TEST(CameraLayoutName, WithoutTerminatorReadsAllTwentyBytes) {
  CameraLayout layout;
  layout.Name.fill('A');
  EXPECT_EQ(layout.NameText(), QString(20, QLatin1Char('A')));
}

TEST(CameraLayoutName, CharacterWithoutCodeBecomesQuestionMark) {
  CameraLayout layout;
  layout.SetNameText(QStringLiteral("a\u4e2db"));
  EXPECT_EQ(layout.NameText(), QStringLiteral("a?b"));
}
