#include "core/compiler/write_flash_image.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "compiler_test_support.h"
#include "core/link/link_ui.h"
#include "core/project/project_commands.h"
#include "core/project/flash_image_file.h"
#include "platform/file_util.h"
#include "support/shipped_catalog.h"

using namespace Brenno;
namespace fs = std::filesystem;

namespace {

struct OutputRecorder : LinkUiServices {
  std::vector<std::wstring> lines;
  void UpdProgress(const ProgressInfo&) override {}
  void AppendOutputLine(const std::wstring& line) override { lines.push_back(line); }
  void ShowOutput() override { ++shown; }
  int shown = 0;
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
  // The pane names where the file went: the current folder, in full.
  const std::wstring path = (fs::current_path() / "Flash.DAT").wstring();
  EXPECT_EQ(WriteFlashImage(), path);
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
  ASSERT_GE(output_.lines.size(), 2u);
  EXPECT_EQ(output_.lines.front(), L"Compiling Data Block ...");
  EXPECT_EQ(output_.lines[output_.lines.size() - 2], L"Total 0 Error(s)");
  EXPECT_EQ(output_.lines.back(), L"Image file written: " + path);
  EXPECT_EQ(output_.shown, 0);
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
  // The report that names the failed row comes to the front.
  EXPECT_EQ(output_.shown, 1);

  // An image the file cannot describe is refused the same way.
  Current().DataBlocks.Working.at(0).Rows[0] = {};
  Current().SystemBlocks.Working[4] = Current().SystemBlocks.Reference.at(4);
  Current().SystemBlocks.Working[4].Rows = {1};
  EXPECT_THROW(WriteFlashImage(), ExceptionParseBinaryError);
  EXPECT_EQ(ReadFlash(), good);
}

// The shipped catalog as the build lays it out: the type with six system pages, of which the
// file has room for four, and its own system-block and exchange libraries.
class ShippedTypeWriteFlashImageTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetCurrentLanguage(kLanguageEnglish);
    ASSERT_NO_FATAL_FAILURE(testsupport::MakeShippedProgramDir(dir_.path()));
    LoadEnvironment(env_, compilertest::W(dir_.path()));
    InstallEnvironment(&env_);
    InstallCurrentProjectServices();
    NewProject();
    previous_ = fs::current_path();
    fs::current_path(dir_.path());
    InstallLinkUiServices(&output_);
  }
  void TearDown() override {
    InstallLinkUiServices(nullptr);
    if (!previous_.empty()) fs::current_path(previous_);
    InstallProgramServices(nullptr);
    InstallEnvironment(nullptr);
  }

  std::vector<uint8_t> ReadFlash() {
    std::vector<uint8_t> bytes;
    EXPECT_TRUE(platform::ReadFileBytes(compilertest::W(dir_.File("Flash.DAT")), bytes));
    return bytes;
  }

  testsupport::TempDir dir_;
  AppEnvironment env_;
  OutputRecorder output_;
  fs::path previous_;
};

TEST_F(ShippedTypeWriteFlashImageTest, WritesTheFourPagesTheFileHoldsWhenTheOthersAreEmpty) {
  const SystemBlockTable& system = CurrentProject().SystemBlocks;
  ASSERT_EQ(system.Working.size(), 6u);
  ASSERT_TRUE(system.Working.at(4).Rows.empty());
  ASSERT_TRUE(system.Working.at(5).Rows.empty());
  WriteFlashImage();
  const std::vector<uint8_t> bytes = ReadFlash();
  ASSERT_GE(bytes.size(), 16u);
  size_t total = 16;
  for (int i = 0; i < 8; ++i) total += bytes[2 * i] | bytes[2 * i + 1] << 8;
  EXPECT_EQ(bytes.size(), total);
  BinaryImage image;
  CompileReport silent(false);
  EncodeSystemBlock(silent, image);
  ASSERT_EQ(image.SystemPages.size(), 6u);
  for (int page = 0; page < 4; ++page) {
    EXPECT_EQ(static_cast<size_t>(bytes[2 + 2 * page] | bytes[3 + 2 * page] << 8), image.SystemPages.at(page).size())
        << page;
  }
  ASSERT_GE(output_.lines.size(), 2u);
  EXPECT_EQ(output_.lines[output_.lines.size() - 2], L"Total 0 Error(s)");

  // Bytes in a page the file cannot describe: refused, and the file written before stays.
  for (int page : {4, 5}) {
    CurrentProject().SystemBlocks.Working.at(page).Rows = {1};
    EXPECT_THROW(WriteFlashImage(), ExceptionParseBinaryError) << page;
    CurrentProject().SystemBlocks.Working.at(page).Rows.clear();
    EXPECT_EQ(ReadFlash(), bytes);
  }
}

}  // namespace
