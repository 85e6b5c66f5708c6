#include "picture_fixtures.h"

#include <gtest/gtest.h>

#include <stdio.h>

TempFile::TempFile(const char *extension) {
  const ::testing::TestInfo *info = ::testing::UnitTest::GetInstance()->current_test_info();
  path_ = std::string("qmtest_") + info->test_suite_name() + "_" + info->name() + extension;
}

TempFile::~TempFile() {
  remove(path_.c_str());
}

void TempFile::Write(const std::vector<uint8_t> &bytes) const {
  FILE *f = fopen(path_.c_str(), "wb");
  ASSERT_NE(f, nullptr) << path_;
  size_t written = bytes.empty() ? 0 : fwrite(bytes.data(), 1, bytes.size(), f);
  fclose(f);
  ASSERT_EQ(written, bytes.size()) << path_;
}
