#include <gtest/gtest.h>

#include "mainwindow/windowplacement.h"

namespace {

using qm::FitToScreens;

// Two screens side by side: a wide one and a smaller one on its right.
const QRect kLeft(0, 0, 1920, 1080);
const QRect kRight(1920, 0, 1280, 1024);

TEST(FitToScreens, KeepsARectangleOnAScreenAndBringsOneOnNoneOntoTheNearest) {
    struct Row {
        const char* name;
        QList<QRect> areas;
        QRect stored;
        QRect expected;
    } rows[] = {
        {"on the first screen", {kLeft, kRight}, QRect(100, 80, 800, 600), QRect(100, 80, 800, 600)},
        {"across both screens", {kLeft, kRight}, QRect(1800, 100, 800, 600), QRect(1800, 100, 800, 600)},
        {"partly off the top of a screen", {kLeft, kRight}, QRect(100, -50, 800, 600), QRect(100, -50, 800, 600)},
        {"right of the right screen", {kLeft, kRight}, QRect(5000, 100, 800, 600), QRect(2400, 100, 800, 600)},
        {"left of the left screen", {kLeft, kRight}, QRect(-3000, 200, 800, 600), QRect(0, 200, 800, 600)},
        {"below, nearer the left screen", {kLeft, kRight}, QRect(1000, 3000, 800, 600), QRect(1000, 480, 800, 600)},
        {"larger than the nearest screen", {kLeft, kRight}, QRect(5000, 5000, 3000, 2000), kRight},
        {"no screens: unchanged", {}, QRect(5000, 100, 800, 600), QRect(5000, 100, 800, 600)},
        {"an empty area is no screen", {QRect()}, QRect(5000, 100, 800, 600), QRect(5000, 100, 800, 600)},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(FitToScreens(row.stored, row.areas), row.expected);
    }
}

}  // namespace
