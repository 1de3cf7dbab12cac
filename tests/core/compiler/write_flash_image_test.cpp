#include "core/compiler/write_flash_image.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "compiler_test_support.h"
#include "core/link/link_ui.h"
#include "core/project/flash_image_file.h"
#include "platform/file_util.h"

using namespace Brenno;
namespace fs = std::filesystem;

namespace {

struct OutputRecorder : LinkUiServices {
  std::vector<std::wstring> lines;
  void UpdProgress(const ProgressInfo&) override {}
  void AppendOutputLine(const std::wstring& line) override { lines.push_back(line); }
  bool AskPlcPassword(std::vector<uint8_t>&) override { return false; }
};

// Runs in the temporary folder as current directory, with the output pane recorded.
class WriteFlashImageTest : public compilertest::CompilerFixture {
 protected:
  void SetUp() override {
    CompilerFixture::SetUp();
    previous_ = fs::current_path();
    fs::current_path(Dir().path());
    InstallLinkUiServices(&output_);
    // The file has room for four system pages; the fixture type's fifth is empty.
    Current().SystemBlocks.Working.erase(4);
  }
  void TearDown() override {
    InstallLinkUiServices(nullptr);
    fs::current_path(previous_);
    CompilerFixture::TearDown();
  }

  std::vector<uint8_t> ReadFlash() {
    std::vector<uint8_t> bytes;
    EXPECT_TRUE(platform::ReadFileBytes(W(Dir().File("Flash.DAT")), bytes));
    return bytes;
  }
  static std::wstring W(const std::string& s) { return compilertest::W(s); }

  OutputRecorder output_;
  fs::path previous_;
};

TEST_F(WriteFlashImageTest, WritesTheCompiledImageAndTheReport) {
  ASSERT_TRUE(SetDataRowType(Current().DataBlocks, 0, 0, 2));
  ASSERT_TRUE(SetDataRowAddress(Current().DataBlocks, 0, 0, L"VW0"));
  ASSERT_TRUE(SetDataRowValue(Current().DataBlocks, 0, 0, L"258"));
  WriteFlashImage();
  const std::vector<uint8_t> bytes = ReadFlash();

  BinaryImage image;
  CompileReport silent(false);
  ASSERT_EQ(EncodeAll(image, silent), 0);
  EXPECT_EQ(bytes, BuildFlashImageBytes(image));
  ASSERT_GE(bytes.size(), 16u + 8u);
  EXPECT_EQ(bytes[0] | bytes[1] << 8, 8);  // one pair
  // The value word 258 as 02 01 00 00 after the operand word.
  EXPECT_EQ(std::vector<uint8_t>(bytes.begin() + 20, bytes.begin() + 24), (std::vector<uint8_t>{2, 1, 0, 0}));
  size_t total = 16;
  for (int i = 0; i < 8; ++i) total += bytes[2 * i] | bytes[2 * i + 1] << 8;
  EXPECT_EQ(bytes.size(), total);
  ASSERT_FALSE(output_.lines.empty());
  EXPECT_EQ(output_.lines.front(), L"Compiling Data Block ...");
  EXPECT_EQ(output_.lines.back(), L"Total 0 Error(s)");
}

TEST_F(WriteFlashImageTest, AFailedCompileLeavesTheFileAlone) {
  WriteFlashImage();
  const std::vector<uint8_t> good = ReadFlash();
  Current().DataBlocks.Working.at(0).Rows[0] = {kDataRowComplete, 1, L"VB0", L"999", L""};
  output_.lines.clear();
  try {
    WriteFlashImage();
    ADD_FAILURE() << "no error";
  } catch (const ExceptionParseBinaryError& error) {
    EXPECT_EQ(error.Message(), L"Parse Binary Error");
  }
  EXPECT_EQ(ReadFlash(), good);
  ASSERT_FALSE(output_.lines.empty());
  EXPECT_EQ(output_.lines.back(), L"Total 1 Error(s)");

  // An image the file cannot describe is refused the same way.
  Current().DataBlocks.Working.at(0).Rows[0] = {};
  Current().SystemBlocks.Working[4] = Current().SystemBlocks.Reference.at(4);
  Current().SystemBlocks.Working[4].Rows = {1};
  EXPECT_THROW(WriteFlashImage(), ExceptionParseBinaryError);
  EXPECT_EQ(ReadFlash(), good);
}

}  // namespace
