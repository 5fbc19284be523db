#pragma once

// The Windows headers of COM objects and their toolkit, in the order they need each other.
#include <windows.h>
//
#include <ole2.h>
//
#include <docobj.h>
#include <oaidl.h>
#include <ocidl.h>
#include <oleauto.h>
#include <olectl.h>
