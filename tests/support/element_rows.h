// Element-file lines the tests load, each typed once.
#pragma once

// C/1995 O1 Hale-Bopp as a comet element-file line: the elements of the
// shipped data/comet.elm (of 1997, equinox J2000) without its tail lengths.
inline constexpr char kHaleBoppElements[] =
    "C        C/1995 O1  Hale-Bopp                      1997 330.937848 0.99496070  0.91741434 130.662021 "
    "282.948754  89.217090 2000.0   4.00                                                    C/1995 O1       ";
