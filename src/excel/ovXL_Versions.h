#pragma once

#include "ovXL_Adapter.h"

// The seven version adapters: one core, their differences a table of traits.
class TovXL_97 : public TovXLAdapter {
public:
    explicit TovXL_97(TovXL& owner) : TovXLAdapter(owner, {1, false, false, false, false}) {}
};
class TovXL_2000 : public TovXLAdapter {
public:
    explicit TovXL_2000(TovXL& owner) : TovXLAdapter(owner, {2, false, false, false, false}) {}
};
class TovXL_2002 : public TovXLAdapter {
public:
    explicit TovXL_2002(TovXL& owner) : TovXLAdapter(owner, {3, true, false, true, true}) {}
};
class TovXL_2003 : public TovXLAdapter {
public:
    explicit TovXL_2003(TovXL& owner) : TovXLAdapter(owner, {4, true, false, true, true}) {}
};
class TovXL_2007 : public TovXLAdapter {
public:
    explicit TovXL_2007(TovXL& owner) : TovXLAdapter(owner, {5, true, true, true, true}) {}
};
class TovXL_2010 : public TovXLAdapter {
public:
    explicit TovXL_2010(TovXL& owner) : TovXLAdapter(owner, {6, true, true, true, true}) {}
};
class TovXL_2013 : public TovXLAdapter {
public:
    explicit TovXL_2013(TovXL& owner) : TovXLAdapter(owner, {7, true, true, true, true}) {}
};
