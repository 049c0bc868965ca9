// Window tests run inside the program's own application object, with scripted message boxes.
#include <gtest/gtest.h>

#include "app/qt/AplikacjaZUV.h"
#include "tests/app/qt/Srodowisko.h"

using namespace zuv;

OknaKomunikatowSkryptowe& KomunikatyTestowe() {
    static OknaKomunikatowSkryptowe komunikaty;
    return komunikaty;
}

int main(int argc, char** argv) {
    // Window tests need no display: Qt's offscreen platform renders into memory.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    AplikacjaZUV aplikacja(argc, argv, KomunikatyTestowe());
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
