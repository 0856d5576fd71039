#include <gtest/gtest.h>

#include "core/import/JetReader.h"

int main(int argc, char** argv) {
    n4::becomeJetReaderIfAsked(argc, argv); // the Jet reader runs this program anew
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
