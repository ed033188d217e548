#include "conversion/dither_source.hpp"

#include <gtest/gtest.h>

namespace corvane {
namespace {

TEST(DitherSourceTest, FirstDrawsOfARunAreFixed) {
  const double expected[] = {0.9686200609430671, 0.20171141158789396, 0.519515969324857,
                             0.13224066281691194, 0.8741881158202887, 0.024617565795779228};
  DitherSource dither;
  for (int draw = 0; draw < 6; ++draw) {
    SCOPED_TRACE(::testing::Message() << "draw " << draw + 1);
    EXPECT_EQ(dither.NextUniform(), expected[draw]);
  }
}

TEST(DitherSourceTest, EachSourceStartsFromTheFixedState) {
  DitherSource first;
  first.NextUniform();
  first.NextUniform();
  DitherSource second;
  EXPECT_EQ(second.NextUniform(), 0.9686200609430671);
  EXPECT_EQ(first.NextUniform(), 0.519515969324857);
}

}  // namespace
}  // namespace corvane
