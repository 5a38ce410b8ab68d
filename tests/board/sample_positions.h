// Positions the board tests make and take back every move in: the start,
// middlegames with pieces across the river, and thin endings.
#pragma once

inline const char* const kSamplePositions[] = {
    "rnbakabnr/9/1c5c1/p1p1p1p1p/9/9/P1P1P1P1P/1C5C1/9/RNBAKABNR w - - 0 1",
    "2bakab1r/6r2/1cn4c1/p1p1p3p/9/2P3p2/PC2P1n1P/2N1B1NC1/R4R3/3AKAB2 w - - 0 1",
    "4kar2/4a2rn/4bc3/RN1c5/2bC5/9/4p4/9/4p4/3p1K3 w - - 0 1",
    "3k5/4PP3/4r4/3P5/9/9/9/9/9/5K3 b - - 0 1",
    "r1bakab1r/9/1cn3nc1/p1p1p1p1p/9/2P6/P3P1P1P/1CN1C1N2/9/R1BAKAB1R b - - 0 1",
    "3ak4/4a4/4b4/p1p5p/6b2/2P3R2/P3c3P/4B4/4A4/2BAK1r2 w - - 0 1",
};
