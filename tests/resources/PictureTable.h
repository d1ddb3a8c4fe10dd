#pragma once
// The pictures of the windows as their layouts give them: resource name, size in pixels and, for those
// laid over the photograph, the rectangle in twips where the main window shows them.

#include <QSize>
#include <array>

struct PictureSize {
    const char* name;
    QSize size;
};

struct PlacedPicture {
    const char* name;
    int left, top, width, height; // twips
    QSize size;                   // pixels
};

inline const std::array<PlacedPicture, 14> Highlights{{
    {"Img_Tasto_0", 6105, 2970, 675, 660, {45, 44}},
    {"Img_Tasto_1", 6760, 3650, 720, 690, {48, 46}},
    {"Img_Tasto_2", 7450, 2960, 720, 705, {48, 47}},
    {"Img_Tasto_3", 6800, 2270, 690, 690, {46, 46}},
    {"Img_Tasto_4", 3250, 2520, 630, 720, {42, 48}},
    {"Img_Tasto_5", 5110, 2520, 645, 705, {43, 47}},
    {"Img_Tasto_6", 3430, 3250, 645, 630, {43, 42}},
    {"Img_Tasto_7", 4790, 3300, 1005, 600, {67, 40}},
    {"Img_Tasto_8", 1155, 1060, 1140, 285, {76, 19}},
    {"Img_Tasto_9", 6690, 1060, 1185, 315, {79, 21}},
    {"Img_Tasto_10", 1160, 180, 1140, 285, {76, 19}},
    {"Img_Tasto_11", 6690, 180, 1185, 315, {79, 21}},
    {"Img_Tasto_12", 2520, 4140, 1380, 1350, {92, 90}},
    {"Img_Tasto_13", 5130, 4150, 1335, 1320, {89, 88}},
}};

inline const PlacedPicture Strip{"Image1", 0, 120, 9000, 750, {600, 50}};
inline const PlacedPicture Logo{"Img_Logo", 3950, 2540, 1095, 840, {73, 56}};

// Img_Dig_0 .. Img_Dig_8 all lie on this rectangle.
inline const PlacedPicture Pad{"Img_Dig", 1080, 2490, 1590, 1560, {106, 104}};
inline constexpr int PadPositions = 9;

inline const PictureSize Photograph{"Img_Corvane", {600, 532}};
inline const PictureSize Splash{"Img_Splash", {154, 128}};
inline const PictureSize Icon{"icon", {32, 32}};
