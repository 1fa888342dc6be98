#include "platform/Resources.h"

#include <gtest/gtest.h>

TEST(Resources, ReadsNamedDataResources) {
  EXPECT_TRUE(CTResources::Exists("Sample_Data"));
  EXPECT_EQ(CTResources::Data("Sample_Data"), QByteArray("ROZ100 sample resource\n"));
  EXPECT_FALSE(CTResources::Exists("Device_Missing"));
  EXPECT_FALSE(CTResources::Data("Device_Missing").has_value());
  EXPECT_FALSE(CTResources::Data("").has_value());
}
