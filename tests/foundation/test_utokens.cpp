#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "utokens.h"

TEST(NextToken, CortaPorSeparadores) {
  struct Caso {
    std::string texto;
    std::vector<std::string> tokens;  // successive calls
    std::string resto;                // text left after the last call
  };
  const Caso casos[] = {
      {"  12;3.5,abc", {"12", "3.5", "abc"}, ""},
      {",;, ", {""}, ""},
      {"", {""}, ""},
      {"abc;", {"abc"}, ""},
      {"abc; d", {"abc"}, " d"},
      {"a,,b", {"a", "b"}, ""},
      {"x\ty\r\n", {"x", "y"}, "\n"},
      {"uno  dos", {"uno"}, " dos"},
  };
  for (const Caso& c : casos) {
    SCOPED_TRACE(c.texto);
    std::string t = c.texto;
    for (const std::string& esperado : c.tokens) EXPECT_EQ(NextToken(t), esperado);
    EXPECT_EQ(t, c.resto);
  }
}

TEST(NextToken, EnterosYReales) {
  TFormatosNeutros neutros;
  std::string t = " -12\t7;1.5e3, 2*3";
  EXPECT_EQ(NextTokenInt(t), -12);
  EXPECT_EQ(NextTokenInt(t), 7);
  EXPECT_EQ(NextTokenReal(t), 1500.0);
  EXPECT_EQ(NextTokenReal(t), 6.0);
  EXPECT_EQ(t, "");
  EXPECT_THAT([&] { NextTokenInt(t); }, testing::ThrowsMessage<ExcepcionConversion>(
                                            testing::StrEq("'' is not a valid integer value")));

  // The text has already lost the bad token.
  t = "1.5 8";
  EXPECT_THAT([&] { NextTokenInt(t); }, testing::ThrowsMessage<ExcepcionConversion>(
                                            testing::StrEq("'1.5' is not a valid integer value")));
  EXPECT_EQ(t, "8");
  t = "2147483648";
  EXPECT_THROW(NextTokenInt(t), ExcepcionConversion);
}
