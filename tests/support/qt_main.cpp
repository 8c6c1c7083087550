// Test entry point for widget tests: a QApplication on the offscreen platform, under the
// classic palette, so that the system colours are the classic table's whatever palette the
// platform would give. Tests of other palettes set theirs and put this one back.
#include "platform/gdi/syscolors.h"
#include <QApplication>
#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    QApplication::setPalette(vyr::gdi::ClassicPalette());
    return RUN_ALL_TESTS();
}
