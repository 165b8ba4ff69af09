#pragma once
// How the host's support-library operations are called: the standard Windows calling convention
// (the callee removes the arguments) on Windows, the platform's C convention elsewhere. The
// argument lists are those the gage server has always passed; the results that are never used
// are declared void, so nothing is read from a function that returns none.

#include "support/window_handle.h"

#if defined(_WIN32)
#define GAGE_HOST_CALL __stdcall
#else
#define GAGE_HOST_CALL
#endif

namespace gage::host {

// Address of an operation as the platform hands it out; cast to one of the types below to call.
using Address = void (*)();

using LangLoadStringFn = int(GAGE_HOST_CALL*)(void* module, unsigned id, char* buffer,
                                              int bufferSize);
using LangTranslateDialogFn = void(GAGE_HOST_CALL*)(WindowHandle dialog);
using LangBannerFn = void(GAGE_HOST_CALL*)(WindowHandle banner);
using GenMessageBoxFn = int(GAGE_HOST_CALL*)(WindowHandle owner, const char* text,
                                             const char* caption, unsigned style, int constant,
                                             int reserved1, int reserved2, int reserved3);
using GenEditFilterFn = void(GAGE_HOST_CALL*)(WindowHandle edit, int kind, int maxCharacters,
                                              int maxLength, double minimum, double maximum,
                                              int option1, int option2);
using GenWaitCursorFn = void*(GAGE_HOST_CALL*)(int reserved);
using HelpShowFn = void(GAGE_HOST_CALL*)(WindowHandle owner, int contextId);
using DbSignificantDigitsFn = int(GAGE_HOST_CALL*)(double value);
using MathRoundFn = double(GAGE_HOST_CALL*)(double value, int places);
using UtilGetPathFn = void(GAGE_HOST_CALL*)(int reserved, const char* location, char* buffer,
                                            int bufferSize);
using UtilGetIdentityFn = void(GAGE_HOST_CALL*)(char* first, char* second);
using UtilStartupFn = int(GAGE_HOST_CALL*)();
using UtilLogErrorFn = void(GAGE_HOST_CALL*)(const char* logPath, const char* application,
                                             const char* text);
using UtilTraceEntryFn = void(GAGE_HOST_CALL*)(const char* application, const char* entry);

}  // namespace gage::host
