#include "core/project/flash_image_file.h"

#include <gtest/gtest.h>

#include <numeric>

#include "core/env/exception_error.h"
#include "platform/file_util.h"
#include "platform/text_codec.h"
#include "support/test_paths.h"

using namespace Brenno;

namespace {

using Bytes = std::vector<uint8_t>;

uint16_t HeaderField(const Bytes& file, int index) { return file[2 * index] | (file[2 * index + 1] << 8); }

FlashImageParts ExampleImage() {
  FlashImageParts image;
  image.DataPages[1] = {0x0102, 7};
  image.DataPages[0] = {258};
  image.SystemPages[0] = {0xA0, 0xA1, 0xA2};
  image.SystemPages[2] = {0xC0};
  image.ProgramConsts = {0xDDCCBBAA};
  image.ProgramArguments[0x10000] = {5};
  image.ProgramArguments[0] = {4};
  image.ProgramInstructions[0] = {1, 2};
  return image;
}

}  // namespace

TEST(FlashImageFile, HeaderAndPartsAreLaidOutInKeyOrder) {
  const Bytes file = BuildFlashImageBytes(ExampleImage());
  const Bytes expected = {
      12, 0, 3, 0, 1, 0, 0, 0, 0, 0, 4, 0, 8, 0, 8, 0,  // header
      0x02, 0x01, 0, 0, 0x02, 0x01, 0, 0, 7, 0, 0, 0,   // data pages 0 then 1
      0xA0, 0xA1, 0xA2, 0xC0,                           // system pages 0 and 2
      0xAA, 0xBB, 0xCC, 0xDD,                           // constants
      4, 0, 0, 0, 5, 0, 0, 0,                           // arguments: main program, then SBR_0
      1, 0, 0, 0, 2, 0, 0, 0,                           // instructions
  };
  EXPECT_EQ(file, expected);
  size_t total = kFlashHeaderSize;
  for (int i = 0; i < 8; ++i) total += HeaderField(file, i);
  EXPECT_EQ(file.size(), total);
}

TEST(FlashImageFile, ImageWithoutDataStartsTheSystemPartAtSixteen) {
  FlashImageParts image;
  image.SystemPages[0] = {9};
  const Bytes file = BuildFlashImageBytes(image);
  EXPECT_EQ(HeaderField(file, 0), 0);
  ASSERT_EQ(file.size(), 17u);
  EXPECT_EQ(file[16], 9);
}

TEST(FlashImageFile, PartsTheHeaderCannotDescribeAreRefused) {
  FlashImageParts tooLong;
  tooLong.ProgramInstructions[0].assign(0x10000 / 4, 0);  // 65536 bytes
  EXPECT_THROW(BuildFlashImageBytes(tooLong), ExceptionParseBinaryError);
  tooLong.ProgramInstructions[0].pop_back();  // 65532 bytes fit
  EXPECT_EQ(BuildFlashImageBytes(tooLong).size(), kFlashHeaderSize + 65532);

  // Pages after the fourth have no length field: empty ones are left out, bytes in one refuse.
  FlashImageParts fourPages;
  for (int key = 0; key < 4; ++key) fourPages.SystemPages[key] = {static_cast<uint8_t>(key + 1)};
  FlashImageParts sixPages = fourPages;
  sixPages.SystemPages[4] = {};
  sixPages.SystemPages[5] = {};
  EXPECT_EQ(BuildFlashImageBytes(sixPages), BuildFlashImageBytes(fourPages));
  for (int key : {4, 5}) {
    FlashImageParts withBytes = sixPages;
    withBytes.SystemPages[key] = {7};
    EXPECT_THROW(BuildFlashImageBytes(withBytes), ExceptionParseBinaryError) << key;
  }
}

TEST(FlashImageFile, WritingReplacesTheFileWholeOrNotAtAll) {
  testsupport::TempDir dir;
  const std::wstring path = platform::FromUtf8Lossy(dir.File("Flash.DAT"));
  WriteFlashImageFile(path, ExampleImage());
  FlashImageParts smaller;
  smaller.ProgramConsts = {1};
  WriteFlashImageFile(path, smaller);
  Bytes read;
  ASSERT_TRUE(platform::ReadFileBytes(path, read));
  EXPECT_EQ(read, BuildFlashImageBytes(smaller));

  // A folder that does not exist: a clear error naming the path.
  const std::wstring missing = platform::FromUtf8Lossy(dir.File("no/such/Flash.DAT"));
  try {
    WriteFlashImageFile(missing, smaller);
    FAIL() << "no error";
  } catch (const ExceptionParseStreamError& error) {
    EXPECT_NE(error.Message().find(missing), std::wstring::npos);
  }
  // A refused image leaves the old file as it was.
  FlashImageParts fivePages;
  for (int key = 0; key < 5; ++key) fivePages.SystemPages[key] = {1};
  EXPECT_THROW(WriteFlashImageFile(path, fivePages), ExceptionParseBinaryError);
  ASSERT_TRUE(platform::ReadFileBytes(path, read));
  EXPECT_EQ(read, BuildFlashImageBytes(smaller));
}
