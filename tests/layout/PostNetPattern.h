#pragma once

// The full (1) and half (0) bars of the POSTNET code for ZIP 12345-6789 and street
// 100 MAIN ST: frame bar, 1 2 3 4 5 6 7 8 9 0 0, check digit 5, frame bar.
inline constexpr char kPostNetPattern12345678900[] =
    "1"
    "00011"
    "00101"
    "00110"
    "01001"
    "01010"
    "01100"
    "10001"
    "10010"
    "10100"
    "11000"
    "11000"
    "01010"
    "1";
