#include "app/command_line.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QStringList>

namespace zorvik {
namespace {

struct ArgumentsCase {
  QStringList arguments;  // after the program's name
  QString expected;       // "" for no plan; a relative name is expected below the current folder
};

class PlanPathFromArgumentsTest : public ::testing::TestWithParam<ArgumentsCase> {};

TEST_P(PlanPathFromArgumentsTest, FindsThePlan) {
  const ArgumentsCase& c = GetParam();
  const QString expected = c.expected.isEmpty() || QDir::isAbsolutePath(c.expected)
                               ? c.expected
                               : QDir::current().absoluteFilePath(c.expected);
  EXPECT_EQ(PlanPathFromArguments(QStringList{"zorvik"} + c.arguments), expected)
      << c.arguments.join(' ').toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PlanPathFromArgumentsTest,
    ::testing::Values(ArgumentsCase{{}, ""},  // a plain start
                      ArgumentsCase{{"/home/a/LoanData/山田.zvk"}, "/home/a/LoanData/山田.zvk"},
                      ArgumentsCase{{"plans/a.zvk"}, "plans/a.zvk"},        // relative to the current folder
                      ArgumentsCase{{"/p/a.zvk", "/p/b.zvk"}, "/p/a.zvk"},  // the first plan only
                      ArgumentsCase{{"--screenshot", "shot.png"}, ""},      // the image is no plan
                      ArgumentsCase{{"--screenshot", "shot.png", "/p/a.zvk"}, "/p/a.zvk"},
                      ArgumentsCase{{"--unknown", "/p/a.zvk"}, "/p/a.zvk"},     // options are passed over
                      ArgumentsCase{{"--", "-odd name.zvk"}, "-odd name.zvk"},  // after "--" a name may start with '-'
                      ArgumentsCase{{"--"}, ""}, ArgumentsCase{{""}, ""},
                      ArgumentsCase{{"file:///home/a/%E5%B1%B1.zvk"}, "/home/a/山.zvk"}));  // a file manager's URL

}  // namespace
}  // namespace zorvik
