// The system's Chinese texts must be GBK bytes at run time (two bytes a character);
// a build that kept them as UTF-8 would write files and compare sections wrongly.
#pragma once

static_assert(sizeof("全局") == 5, "narrow literals must be compiled to GBK (code page 936)");
