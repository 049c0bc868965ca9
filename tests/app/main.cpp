// Window tests run inside the program's own application object, with scripted message boxes.
#include <gtest/gtest.h>

#include "app/AplikacjaZUV.h"
#include "tests/app/OknaKomunikatowSkryptowe.h"
#include "tests/app/Srodowisko.h"

OknaKomunikatowSkryptowe& KomunikatyTestowe() {
    static OknaKomunikatowSkryptowe komunikaty;
    return komunikaty;
}

int main(int argc, char** argv) {
    AplikacjaZUV aplikacja(argc, argv, KomunikatyTestowe());
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
