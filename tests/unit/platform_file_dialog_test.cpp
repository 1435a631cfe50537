// The filter text of the file dialogs as the system takes it: zero-separated, two zeros at the end.
#include <gtest/gtest.h>

#include <string>

#include "platform/file_dialog.h"

namespace vendrel::platform {
namespace {

struct FilterCase {
  const char* name;
  std::u16string filter;
  std::u16string system;
};

class SystemFilterTest : public ::testing::TestWithParam<FilterCase> {};

TEST_P(SystemFilterTest, SeparatorsBecomeZerosAndTheListEndsWithTwo) {
  EXPECT_EQ(SystemFilter(GetParam().filter), GetParam().system);
}

using namespace std::string_literals;

INSTANTIATE_TEST_SUITE_P(
    Cases, SystemFilterTest,
    ::testing::Values(
        FilterCase{"SettingsFiles", u"(*.fwc)|*.fwc|(*.*)|*.*||",
                   u"(*.fwc)\0*.fwc\0(*.*)\0*.*\0\0"s},
        // A filter without its closing bars still ends the list, so the dialog never reads past it.
        FilterCase{"UnterminatedList", u"(*.exe)|*.exe", u"(*.exe)\0*.exe\0\0"s},
        FilterCase{"Empty", u"", u"\0\0"s}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace vendrel::platform
