// The demo's timeline data: the four slogans of scene 1, the eight captions of scene 2, the
// credits of scene 3 and the frames that fill the mosaic cells. Hold these against the scene
// code (scene1.cpp, scene2.cpp, scene3.cpp): every number here is a frame, a position or a
// rectangle on the 240 × 320 display.
#pragma once

#include <cstdint>

#include "app/cp1251.h"
#include "graphics2d/orientation.h"

// A slogan strip of the slogan surface and where and when it comes in.
struct VSlogan {
    VRect source;  // left, top, right, bottom in the slogan surface
    int32_t x, y;  // centre on the display
    int32_t mode;  // how the piece stretches at its end (see Piece)
    int32_t start;
};

inline constexpr VSlogan kSlogans[4] = {
    {{0, 0, 143, 30}, 100, 280, 0, 210},
    {{0, 30, 143, 60}, 140, 160, 1, 340},
    {{0, 60, 143, 90}, 180, 280, 0, 470},
    {{0, 90, 143, 120}, 130, 290, 2, 600},
};

// The caption texts, in the font's Windows-1251 bytes; "\n" breaks a line.
inline constexpr auto kCaptionText0 = Cp1251(u8"Новая игра\n*Vorlund*");
inline constexpr auto kCaptionText1 =
    Cp1251(u8"Ваша цель\nнабрать максимум очков\nи всех уничтожить\n");
inline constexpr auto kCaptionText2 = Cp1251(u8"Для победы - правильно\nРазвивайте <НАУКУ>");
inline constexpr auto kCaptionText3 =
    Cp1251(u8"Основные типы башен\nу каждого типа\nсвои уник. харрактеристики");
inline constexpr auto kCaptionText4 = Cp1251(u8"1.Радиус действия\n2.Тип атаки(земля,воздух)");
inline constexpr auto kCaptionText5 = Cp1251(u8"Возможен АПГРЕЙД зданий(башен)\nMAX 3-го уровня");
inline constexpr auto kCaptionText6 = Cp1251(
    u8"Ландшафт. для боевых действий\nВраг не пройдет.\nБолее 30 типов чужих\n"
    u8" + БОСС на каждом подуровне.");
inline constexpr auto kCaptionText7 =
    Cp1251(u8"Генератор случайных карт\n3 типа локаций-лес,пустыня,лед");

// A piece of the advert picture with its caption.
struct VCaption {
    const char* text;
    int32_t left, top, width, height;  // in the advert surface
    int32_t x, y;                      // centre of the piece on the display
    int32_t textX, textY;              // a text x of 0: no text
};

inline constexpr VCaption kCaptions[8] = {
    {kCaptionText0.bytes, 220, 0, 75, 100, 180, 180, 130, 110},
    {kCaptionText1.bytes, 90, 385, 150, 26, 90, 260, 20, 210},
    {kCaptionText2.bytes, 90, 340, 150, 43, 90, 60, 15, 15},
    {kCaptionText3.bytes, 0, 240, 73, 100, 180, 150, 80, 210},
    {kCaptionText4.bytes, 170, 240, 100, 100, 160, 255, 80, 185},
    {kCaptionText5.bytes, 220, 100, 81, 100, 90, 110, 35, 180},
    {kCaptionText6.bytes, 75, 240, 94, 100, 160, 95, 1, 10},
    {kCaptionText7.bytes, 0, 340, 91, 100, 160, 65, 1, 125},
};

// The credits of scene 3: the studio and the portal for handheld demos, then the game.
inline constexpr auto kCreditsText = Cp1251(
    u8"(G) Halvkrona halvkrona.example\n"
    u8"Demo Scene for PDA pdascene.example \n"
    u8" \n"
    u8"Coming soon,new game 'Vorlund'\n"
    u8"       Улучшенная графика,\n"
    u8"    генератор случайных карт. \n"
    u8" Много интересных демо и интро на \n"
    u8"             pdascene.example\n");

// The back-buffer snapshots copied into the 512 × 512 mosaic: cell (column, row) is filled in
// the given scene at the given frame. Cell index row × 4 + column runs 0 to 12 in this order.
struct VMosaicCell {
    int32_t column, row;
    int32_t scene, frame;
};

inline constexpr int32_t kMosaicCells = 13;
inline constexpr VMosaicCell kMosaic[kMosaicCells] = {
    {0, 0, 1, 30},   {1, 0, 1, 260},  {2, 0, 1, 500},  {3, 0, 1, 680},  {0, 1, 2, 80},
    {1, 1, 2, 230},  {2, 1, 2, 970},  {3, 1, 2, 1040}, {0, 2, 2, 1690}, {1, 2, 2, 1840},
    {2, 2, 2, 2280}, {3, 2, 2, 2350}, {0, 3, 3, 50},
};
