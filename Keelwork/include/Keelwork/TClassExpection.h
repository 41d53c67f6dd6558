// The values the container templates throw (by value) when they are misused.
#pragma once

enum TCLASS_EXPECTION {
    // An index or item handed to a removing or exporting operation is not there.
    TCLASS_EXP_INDEX = 2,
    // An insertion position lies beyond the end.
    TCLASS_EXP_INSERT = 3,
};
