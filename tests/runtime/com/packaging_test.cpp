// What the library carries: its exports, its type library, its resources and version data.
#include <cctype>
#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "com_fixture.h"
#include "view/artwork.h"

namespace velmora::testing {
namespace {

using PackagingTest = LibraryTest;

std::wstring Text(BSTR text) {
  std::wstring result = text ? std::wstring(text, SysStringLen(text)) : std::wstring();
  SysFreeString(text);
  return result;
}

ComPtr<ITypeLib> LoadTypes() {
  ComPtr<ITypeLib> types;
  EXPECT_EQ(LoadTypeLibEx(LibraryPath().c_str(), REGKIND_NONE, types.Put()), S_OK);
  return types;
}

// Reads a type's attributes into a copy the test can keep.
TYPEATTR Attributes(ITypeInfo* info) {
  TYPEATTR* attributes = nullptr;
  EXPECT_EQ(info->GetTypeAttr(&attributes), S_OK);
  const TYPEATTR copy = *attributes;
  info->ReleaseTypeAttr(attributes);
  return copy;
}

std::wstring DocString(ITypeInfo* info, MEMBERID id) {
  BSTR help = nullptr;
  EXPECT_EQ(info->GetDocumentation(id, nullptr, &help, nullptr, nullptr), S_OK);
  return Text(help);
}

std::vector<BYTE> Resource(HMODULE module, const wchar_t* type, const wchar_t* name) {
  HRSRC found = FindResourceW(module, name, type);
  if (!found) return {};
  const auto* data = static_cast<const BYTE*>(LockResource(LoadResource(module, found)));
  return std::vector<BYTE>(data, data + SizeofResource(module, found));
}

template <class T>
T At(const std::vector<BYTE>& data, std::size_t offset) {
  T value{};
  std::memcpy(&value, data.data() + offset, sizeof value);
  return value;
}

// The name offset of each function's parameters, straight from the compiled library: no
// reading interface says whether a write's parameter has a name, as a member id finds the
// read first. The first type's record tells where its function records are; each record
// begins with its size and ends with its parameters (type, name offset, flags).
std::vector<std::vector<std::int32_t>> ParameterNames(const std::vector<BYTE>& library) {
  constexpr std::size_t kHeaderSize = 0x54;
  const auto flags = At<std::int32_t>(library, 0x14);
  const auto count = At<std::int32_t>(library, 0x20);
  const std::size_t offsets = kHeaderSize + ((flags & 0x100) ? 4 : 0);
  const std::size_t segments = offsets + 4 * static_cast<std::size_t>(count);
  const auto type = static_cast<std::size_t>(At<std::int32_t>(library, segments) +
                                             At<std::int32_t>(library, offsets));
  const auto functions = At<std::int32_t>(library, type + 0x18) & 0xFFFF;
  std::size_t record = static_cast<std::size_t>(At<std::int32_t>(library, type + 4)) + 4;
  std::vector<std::vector<std::int32_t>> names;
  for (int i = 0; i < functions; ++i) {
    const auto size = static_cast<std::size_t>(At<std::int32_t>(library, record) & 0xFFFF);
    const auto parameters = At<WORD>(library, record + 20);
    std::vector<std::int32_t> offsets_of_names;
    for (std::size_t p = 0; p < parameters; ++p) {
      offsets_of_names.push_back(
          At<std::int32_t>(library, record + size - 12 * (parameters - p) + 4));
    }
    names.push_back(offsets_of_names);
    record += size;
  }
  return names;
}

TEST_F(PackagingTest, WriteParametersCarryNoName) {
  const auto library = Resource(module(), L"TYPELIB", MAKEINTRESOURCEW(1));
  ASSERT_GT(library.size(), 0x100u);
  const auto names = ParameterNames(library);
  ASSERT_EQ(names.size(), 9u);
  for (std::size_t i : {0u, 3u, 5u, 7u}) {  // the reads' return values are named
    ASSERT_EQ(names[i].size(), 1u) << i;
    EXPECT_NE(names[i][0], -1) << i;
  }
  for (std::size_t i : {1u, 4u, 6u, 8u}) {  // the writes' parameters are not
    ASSERT_EQ(names[i].size(), 1u) << i;
    EXPECT_EQ(names[i][0], -1) << i;
  }
}

TEST_F(PackagingTest, ExportsResolveByNameAndByOrdinalsOneToFive) {
  const char* names[] = {"DllCanUnloadNow", "DllGetClassObject", "DllRegisterServer",
                         "DllUnregisterServer", "DllInstall"};
  for (WORD ordinal = 1; ordinal <= 5; ++ordinal) {
    const FARPROC by_name = Export(names[ordinal - 1]);
    ASSERT_NE(by_name, nullptr) << names[ordinal - 1];
    EXPECT_EQ(GetProcAddress(module(), MAKEINTRESOURCEA(ordinal)), by_name) << ordinal;
  }
  EXPECT_EQ(GetProcAddress(module(), MAKEINTRESOURCEA(6)), nullptr);
}

// The names of the libraries a loaded module imports from, from its import directory.
std::vector<std::string> ImportedLibraries(HMODULE module) {
  const auto* base = reinterpret_cast<const BYTE*>(module);
  const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
  const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
  const IMAGE_DATA_DIRECTORY& directory =
      nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
  std::vector<std::string> names;
  if (directory.VirtualAddress == 0) return names;
  for (const auto* entry =
           reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(base + directory.VirtualAddress);
       entry->Name != 0; ++entry) {
    std::string name = reinterpret_cast<const char*>(base + entry->Name);
    for (char& c : name) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    names.push_back(name);
  }
  return names;
}

TEST_F(PackagingTest, ImportsOnlyLibrariesEveryWindowsCarries) {
  const std::set<std::string> system = {"kernel32.dll", "user32.dll",  "gdi32.dll",
                                        "advapi32.dll", "ole32.dll",   "oleaut32.dll",
                                        "msvcrt.dll",   "msimg32.dll", "oleacc.dll"};
  const auto imported = ImportedLibraries(module());
  EXPECT_GE(imported.size(), 4u);
  for (const std::string& name : imported) EXPECT_TRUE(system.count(name)) << name;
}

TEST_F(PackagingTest, TypeLibraryDescribesTheProjectForItsBitness) {
  const auto types = LoadTypes();
  TLIBATTR* attributes = nullptr;
  ASSERT_EQ(types->GetLibAttr(&attributes), S_OK);
  EXPECT_EQ(attributes->lcid, 0x0409u);
  EXPECT_EQ(attributes->syskind, sizeof(void*) == 8 ? SYS_WIN64 : SYS_WIN32);
  EXPECT_EQ(attributes->wMajorVerNum, 1);
  EXPECT_EQ(attributes->wMinorVerNum, 1);
  // A library read from a file is also marked as having a disk image.
  EXPECT_EQ(attributes->wLibFlags & ~LIBFLAG_FHASDISKIMAGE, LIBFLAG_FCONTROL);
  types->ReleaseTLibAttr(attributes);
  BSTR name = nullptr;
  BSTR help = nullptr;
  ASSERT_EQ(types->GetDocumentation(-1, &name, &help, nullptr, nullptr), S_OK);
  EXPECT_EQ(Text(name), L"Project1");
  EXPECT_EQ(Text(help), L"Project1");
}

TEST_F(PackagingTest, TypeLibraryHoldsUserControl1sThreeTypesThenChessBoardsSix) {
  const auto types = LoadTypes();
  ASSERT_EQ(types->GetTypeInfoCount(), 9u);
  const struct {
    const wchar_t* name;
    TYPEKIND kind;
    WORD flags;
    GUID guid;
  } expected[] = {
      {L"_UserControl1", TKIND_DISPATCH,
       TYPEFLAG_FHIDDEN | TYPEFLAG_FDUAL | TYPEFLAG_FNONEXTENSIBLE | TYPEFLAG_FDISPATCHABLE,
       __uuidof(_UserControl1)},
      {L"UserControl1", TKIND_COCLASS, TYPEFLAG_FCONTROL, __uuidof(::UserControl1)},
      {L"__UserControl1", TKIND_DISPATCH,
       TYPEFLAG_FHIDDEN | TYPEFLAG_FNONEXTENSIBLE | TYPEFLAG_FDISPATCHABLE,
       __uuidof(__UserControl1)},
      {L"BoardOrientation", TKIND_ENUM, 0, GUID_NULL},
      {L"BoardTheme", TKIND_ENUM, 0, GUID_NULL},
      {L"BoardCoordinates", TKIND_ENUM, 0, GUID_NULL},
      {L"_ChessBoard", TKIND_DISPATCH,
       TYPEFLAG_FHIDDEN | TYPEFLAG_FDUAL | TYPEFLAG_FNONEXTENSIBLE | TYPEFLAG_FDISPATCHABLE,
       __uuidof(_ChessBoard)},
      {L"ChessBoard", TKIND_COCLASS, TYPEFLAG_FCANCREATE | TYPEFLAG_FCONTROL,
       __uuidof(::ChessBoard)},
      {L"__ChessBoard", TKIND_DISPATCH,
       TYPEFLAG_FHIDDEN | TYPEFLAG_FNONEXTENSIBLE | TYPEFLAG_FDISPATCHABLE, __uuidof(__ChessBoard)},
  };
  // The reader reports no automation flag on a dispatch type; the dual interface's interface
  // half shows it (checked with the members).
  for (UINT i = 0; i < std::size(expected); ++i) {
    ComPtr<ITypeInfo> info;
    ASSERT_EQ(types->GetTypeInfo(i, info.Put()), S_OK);
    BSTR name = nullptr;
    ASSERT_EQ(types->GetDocumentation(static_cast<INT>(i), &name, nullptr, nullptr, nullptr), S_OK);
    EXPECT_EQ(Text(name), expected[i].name);
    const TYPEATTR attributes = Attributes(info.get());
    EXPECT_EQ(attributes.typekind, expected[i].kind) << i;
    EXPECT_EQ(attributes.wTypeFlags, expected[i].flags) << i;
    EXPECT_TRUE(IsEqualGUID(attributes.guid, expected[i].guid)) << i;
    EXPECT_EQ(attributes.wMajorVerNum, 1) << i;
    EXPECT_EQ(attributes.wMinorVerNum, 0) << i;
    EXPECT_EQ(DocString(info.get(), MEMBERID_NIL), L"") << i;
  }
}

TEST_F(PackagingTest, DualInterfaceListsTheNineMembersInTableOrder) {
  const std::wstring enabled_help =
      L"Returns/sets a value that determines whether an object can respond to user-generated "
      L"events.";
  const std::wstring text_help = L"Returns/sets the text contained in the control.";
  const struct {
    const wchar_t* name;
    INVOKEKIND kind;
    MEMBERID id;
    VARTYPE value;  // of the read's result or the write's parameter; VT_EMPTY for none
    std::wstring help;
  } expected[] = {
      {L"Enabled", INVOKE_PROPERTYGET, 0x68030003, VT_BOOL, enabled_help},
      {L"Enabled", INVOKE_PROPERTYPUT, 0x68030003, VT_BOOL, enabled_help},
      {L"Refresh", INVOKE_FUNC, 0x6003000E, VT_EMPTY, L"Forces a complete repaint of a object."},
      {L"GetMove", INVOKE_PROPERTYGET, 0x68030002, VT_BSTR, text_help},
      {L"GetMove", INVOKE_PROPERTYPUT, 0x68030002, VT_BSTR, text_help},
      {L"PutMove", INVOKE_PROPERTYGET, 0x68030001, VT_BSTR, text_help},
      {L"PutMove", INVOKE_PROPERTYPUT, 0x68030001, VT_BSTR, text_help},
      {L"PutPosition", INVOKE_PROPERTYGET, 0x68030000, VT_BSTR, text_help},
      {L"PutPosition", INVOKE_PROPERTYPUT, 0x68030000, VT_BSTR, text_help},
  };
  const auto types = LoadTypes();
  ComPtr<ITypeInfo> dual;
  ASSERT_EQ(types->GetTypeInfoOfGuid(__uuidof(_UserControl1), dual.Put()), S_OK);
  // The function table: the interface half of the dual interface.
  HREFTYPE reference = 0;
  ASSERT_EQ(dual->GetRefTypeOfImplType(-1, &reference), S_OK);
  ComPtr<ITypeInfo> table;
  ASSERT_EQ(dual->GetRefTypeInfo(reference, table.Put()), S_OK);
  const TYPEATTR attributes = Attributes(table.get());
  EXPECT_EQ(attributes.typekind, TKIND_INTERFACE);
  EXPECT_EQ(attributes.wTypeFlags, TYPEFLAG_FHIDDEN | TYPEFLAG_FDUAL | TYPEFLAG_FNONEXTENSIBLE |
                                       TYPEFLAG_FOLEAUTOMATION | TYPEFLAG_FDISPATCHABLE);
  ASSERT_EQ(attributes.cFuncs, 9);
  EXPECT_EQ(attributes.cbSizeVft, 16 * sizeof(void*));

  for (UINT i = 0; i < 9; ++i) {
    SCOPED_TRACE(i);
    FUNCDESC* function = nullptr;
    ASSERT_EQ(table->GetFuncDesc(i, &function), S_OK);
    EXPECT_EQ(function->memid, expected[i].id);
    EXPECT_EQ(function->invkind, expected[i].kind);
    EXPECT_EQ(function->funckind, FUNC_PUREVIRTUAL);
    EXPECT_EQ(function->callconv, CC_STDCALL);
    EXPECT_EQ(function->oVft, static_cast<SHORT>((7 + i) * sizeof(void*)));
    EXPECT_EQ(function->elemdescFunc.tdesc.vt, VT_HRESULT);
    EXPECT_EQ(function->wFuncFlags, 0);
    const bool has_value = expected[i].value != VT_EMPTY;
    ASSERT_EQ(function->cParams, has_value ? 1 : 0);
    if (has_value) {
      const ELEMDESC& parameter = function->lprgelemdescParam[0];
      if (expected[i].kind == INVOKE_PROPERTYGET) {
        EXPECT_EQ(parameter.tdesc.vt, VT_PTR);
        EXPECT_EQ(parameter.tdesc.lptdesc->vt, expected[i].value);
        EXPECT_EQ(parameter.paramdesc.wParamFlags, PARAMFLAG_FOUT | PARAMFLAG_FRETVAL);
      } else {
        EXPECT_EQ(parameter.tdesc.vt, expected[i].value);
        EXPECT_EQ(parameter.paramdesc.wParamFlags, PARAMFLAG_FIN);
      }
    }
    BSTR names[3] = {};
    UINT count = 0;
    ASSERT_EQ(table->GetNames(function->memid == 0 ? 0 : function->memid, names, 3, &count), S_OK);
    EXPECT_EQ(Text(names[0]), expected[i].name);
    for (UINT n = 1; n < count; ++n) SysFreeString(names[n]);
    EXPECT_EQ(DocString(table.get(), function->memid), expected[i].help);
    table->ReleaseFuncDesc(function);
  }
}

// The function table of a dual interface: its interface half.
ComPtr<ITypeInfo> FunctionTable(ITypeLib* types, REFGUID dual_id) {
  ComPtr<ITypeInfo> dual;
  EXPECT_EQ(types->GetTypeInfoOfGuid(dual_id, dual.Put()), S_OK);
  HREFTYPE reference = 0;
  ComPtr<ITypeInfo> table;
  if (dual) {
    EXPECT_EQ(dual->GetRefTypeOfImplType(-1, &reference), S_OK);
    EXPECT_EQ(dual->GetRefTypeInfo(reference, table.Put()), S_OK);
  }
  return table;
}

TEST_F(PackagingTest, ChessBoardInterfaceAddsSixteenPropertiesAfterUserControl1s) {
  const struct {
    const wchar_t* name;
    VARTYPE value;
  } expected[] = {
      {L"DragEnabled", VT_BOOL},
      {L"LegalMoves", VT_BSTR},
      {L"ShowLegalMoves", VT_BOOL},
      {L"Orientation", VT_USERDEFINED},
      {L"LastMove", VT_BSTR},
      {L"ShowLastMove", VT_BOOL},
      {L"CheckSquare", VT_BSTR},
      {L"Marks", VT_BSTR},
      {L"UserMarks", VT_BSTR},
      {L"AnimationTime", VT_I4},
      {L"Fen", VT_BSTR},
      {L"Theme", VT_USERDEFINED},
      {L"LightSquareColor", VT_UI4},
      {L"DarkSquareColor", VT_UI4},
      {L"Coordinates", VT_USERDEFINED},
      {L"EditMode", VT_BOOL},
  };
  const auto types = LoadTypes();
  const auto table = FunctionTable(types.get(), __uuidof(_ChessBoard));
  ASSERT_TRUE(table);
  const TYPEATTR attributes = Attributes(table.get());
  EXPECT_EQ(attributes.typekind, TKIND_INTERFACE);
  ASSERT_EQ(attributes.cFuncs, 32);
  EXPECT_EQ(attributes.cbSizeVft, 48 * sizeof(void*));
  // Derived from _UserControl1's table, so every member of it is one of ChessBoard's.
  ASSERT_EQ(attributes.cImplTypes, 1);
  HREFTYPE reference = 0;
  ASSERT_EQ(table->GetRefTypeOfImplType(0, &reference), S_OK);
  ComPtr<ITypeInfo> base;
  ASSERT_EQ(table->GetRefTypeInfo(reference, base.Put()), S_OK);
  EXPECT_TRUE(IsEqualGUID(Attributes(base.get()).guid, __uuidof(_UserControl1)));

  for (UINT i = 0; i < 32; ++i) {
    SCOPED_TRACE(i);
    const auto& member = expected[i / 2];
    FUNCDESC* function = nullptr;
    ASSERT_EQ(table->GetFuncDesc(i, &function), S_OK);
    EXPECT_EQ(function->memid, static_cast<MEMBERID>(0x100 + i / 2));
    EXPECT_EQ(function->invkind, i % 2 == 0 ? INVOKE_PROPERTYGET : INVOKE_PROPERTYPUT);
    EXPECT_EQ(function->oVft, static_cast<SHORT>((16 + i) * sizeof(void*)));
    EXPECT_EQ(function->elemdescFunc.tdesc.vt, VT_HRESULT);
    ASSERT_EQ(function->cParams, 1);
    const TYPEDESC& parameter = function->lprgelemdescParam[0].tdesc;
    const TYPEDESC& value = i % 2 == 0 ? *parameter.lptdesc : parameter;
    EXPECT_EQ(value.vt, member.value);
    BSTR name = nullptr;
    ASSERT_EQ(table->GetDocumentation(function->memid, &name, nullptr, nullptr, nullptr), S_OK);
    EXPECT_EQ(Text(name), member.name);
    table->ReleaseFuncDesc(function);
  }
}

TEST_F(PackagingTest, BothEventInterfacesListTheNineEventsByReference) {
  const struct {
    const wchar_t* name;
    std::vector<VARTYPE> parameters;
    std::wstring help;
  } expected[] = {
      {L"Click", {}, L""},
      {L"DblClick",
       {},
       L"Occurs when the user presses and releases a mouse button and then presses and releases "
       L"it again over an object."},
      {L"KeyDown",
       {VT_I2, VT_I2},
       L"Occurs when the user presses a key while an object has the focus."},
      {L"KeyPress", {VT_I2}, L"Occurs when the user presses and releases an ANSI key."},
      {L"KeyUp",
       {VT_I2, VT_I2},
       L"Occurs when the user releases a key while an object has the focus."},
      {L"MouseDown",
       {VT_I2, VT_I2, VT_R4, VT_R4},
       L"Occurs when the user presses the mouse button while an object has the focus."},
      {L"MouseMove", {VT_I2, VT_I2, VT_R4, VT_R4}, L"Occurs when the user moves the mouse."},
      {L"MouseUp",
       {VT_I2, VT_I2, VT_R4, VT_R4},
       L"Occurs when the user releases the mouse button while an object has the focus."},
      {L"Change", {}, L"Occurs when the contents of a control have changed."},
  };
  const auto types = LoadTypes();
  for (const auto& [interface_id, count] :
       {std::pair{__uuidof(__UserControl1), 9}, std::pair{__uuidof(__ChessBoard), 13}}) {
    ComPtr<ITypeInfo> events;
    ASSERT_EQ(types->GetTypeInfoOfGuid(interface_id, events.Put()), S_OK);
    const TYPEATTR attributes = Attributes(events.get());
    ASSERT_EQ(attributes.cFuncs, count);
    for (UINT i = 0; i < 9; ++i) {
      SCOPED_TRACE(i + 100 * (count - 9));
      FUNCDESC* function = nullptr;
      ASSERT_EQ(events->GetFuncDesc(i, &function), S_OK);
      EXPECT_EQ(function->memid, static_cast<MEMBERID>(i + 1));
      EXPECT_EQ(function->funckind, FUNC_DISPATCH);
      EXPECT_EQ(function->invkind, INVOKE_FUNC);
      EXPECT_EQ(function->elemdescFunc.tdesc.vt, VT_VOID);
      ASSERT_EQ(function->cParams, static_cast<SHORT>(expected[i].parameters.size()));
      for (SHORT p = 0; p < function->cParams; ++p) {
        const ELEMDESC& parameter = function->lprgelemdescParam[p];
        EXPECT_EQ(parameter.tdesc.vt, VT_PTR);
        EXPECT_EQ(parameter.tdesc.lptdesc->vt, expected[i].parameters[p]);
        EXPECT_EQ(parameter.paramdesc.wParamFlags, PARAMFLAG_FIN | PARAMFLAG_FOUT);
      }
      BSTR name = nullptr;
      ASSERT_EQ(events->GetDocumentation(function->memid, &name, nullptr, nullptr, nullptr), S_OK);
      EXPECT_EQ(Text(name), expected[i].name);
      EXPECT_EQ(DocString(events.get(), function->memid), expected[i].help);
      events->ReleaseFuncDesc(function);
    }
  }
}

TEST_F(PackagingTest,
       ChessBoardEventsAddBeforeMoveWithACancelByReferenceMarksChangedAfterMoveAndPositionEdited) {
  const auto types = LoadTypes();
  ComPtr<ITypeInfo> events;
  ASSERT_EQ(types->GetTypeInfoOfGuid(__uuidof(__ChessBoard), events.Put()), S_OK);
  const struct {
    const wchar_t* name;
    std::vector<std::wstring> parameters;
    std::vector<VARTYPE> types;  // VT_PTR for a value by reference
    std::vector<USHORT> flags;
  } expected[] = {
      {L"BeforeMove",
       {L"FromSquare", L"ToSquare", L"Promotion", L"Cancel"},
       {VT_BSTR, VT_BSTR, VT_BSTR, VT_PTR},
       {PARAMFLAG_FIN, PARAMFLAG_FIN, PARAMFLAG_FIN, PARAMFLAG_FIN | PARAMFLAG_FOUT}},
      {L"MarksChanged", {}, {}, {}},
      {L"AfterMove",
       {L"FromSquare", L"ToSquare", L"Promotion"},
       {VT_BSTR, VT_BSTR, VT_BSTR},
       {PARAMFLAG_FIN, PARAMFLAG_FIN, PARAMFLAG_FIN}},
      {L"PositionEdited", {}, {}, {}},
  };
  for (UINT i = 0; i < std::size(expected); ++i) {
    SCOPED_TRACE(i);
    FUNCDESC* function = nullptr;
    ASSERT_EQ(events->GetFuncDesc(9 + i, &function), S_OK);
    EXPECT_EQ(function->memid, static_cast<MEMBERID>(10 + i));
    EXPECT_EQ(function->funckind, FUNC_DISPATCH);
    ASSERT_EQ(function->cParams, static_cast<SHORT>(expected[i].types.size()));
    for (SHORT p = 0; p < function->cParams; ++p) {
      const ELEMDESC& parameter = function->lprgelemdescParam[p];
      EXPECT_EQ(parameter.tdesc.vt, expected[i].types[p]) << p;
      EXPECT_EQ(parameter.paramdesc.wParamFlags, expected[i].flags[p]) << p;
    }
    if (function->cParams == 4) {
      EXPECT_EQ(function->lprgelemdescParam[3].tdesc.lptdesc->vt, VT_BOOL);
    }
    BSTR names[5] = {};
    UINT count = 0;
    ASSERT_EQ(events->GetNames(function->memid, names, 5, &count), S_OK);
    std::vector<std::wstring> parameters;
    for (UINT n = 1; n < count; ++n) parameters.push_back(Text(names[n]));
    EXPECT_EQ(Text(names[0]), expected[i].name);
    EXPECT_EQ(parameters, expected[i].parameters);
    events->ReleaseFuncDesc(function);
  }
}

TEST_F(PackagingTest, EachClassNamesItsDefaultAndDefaultSourceInterfaces) {
  const auto types = LoadTypes();
  const struct {
    GUID class_id;
    GUID interfaces[2];
  } classes[] = {
      {__uuidof(::UserControl1), {__uuidof(_UserControl1), __uuidof(__UserControl1)}},
      {__uuidof(::ChessBoard), {__uuidof(_ChessBoard), __uuidof(__ChessBoard)}},
  };
  for (const auto& klass : classes) {
    ComPtr<ITypeInfo> coclass;
    ASSERT_EQ(types->GetTypeInfoOfGuid(klass.class_id, coclass.Put()), S_OK);
    ASSERT_EQ(Attributes(coclass.get()).cImplTypes, 2);
    const struct {
      INT flags;
      GUID guid;
    } expected[] = {{IMPLTYPEFLAG_FDEFAULT, klass.interfaces[0]},
                    {IMPLTYPEFLAG_FDEFAULT | IMPLTYPEFLAG_FSOURCE, klass.interfaces[1]}};
    for (UINT i = 0; i < 2; ++i) {
      INT flags = 0;
      ASSERT_EQ(coclass->GetImplTypeFlags(i, &flags), S_OK);
      EXPECT_EQ(flags, expected[i].flags) << i;
      HREFTYPE reference = 0;
      ASSERT_EQ(coclass->GetRefTypeOfImplType(i, &reference), S_OK);
      ComPtr<ITypeInfo> implemented;
      ASSERT_EQ(coclass->GetRefTypeInfo(reference, implemented.Put()), S_OK);
      EXPECT_TRUE(IsEqualGUID(Attributes(implemented.get()).guid, expected[i].guid)) << i;
    }
  }
}

TEST_F(PackagingTest, IdentifierResourcesHoldTheTypeLibrarysInterfaceGuids) {
  const struct {
    const wchar_t* type;
    GUID guid;
  } expected[] = {{L"_IID_USERCONTROL1", __uuidof(_UserControl1)},
                  {L"_SRCIID_USERCONTROL1", __uuidof(__UserControl1)}};
  const auto types = LoadTypes();
  for (const auto& resource : expected) {
    const auto data = Resource(module(), resource.type, MAKEINTRESOURCEW(1));
    ASSERT_EQ(data.size(), 20u) << resource.type;
    std::uint32_t length = 0;
    std::memcpy(&length, data.data(), 4);
    EXPECT_EQ(length, 16u);
    GUID guid{};
    std::memcpy(&guid, data.data() + 4, 16);
    ComPtr<ITypeInfo> info;
    EXPECT_EQ(types->GetTypeInfoOfGuid(guid, info.Put()), S_OK) << resource.type;
    EXPECT_TRUE(IsEqualGUID(guid, resource.guid)) << resource.type;
  }
}

TEST_F(PackagingTest, ToolboxBitmapIsSixteenByFifteenInSixteenColours) {
  const auto data =
      Resource(module(), MAKEINTRESOURCEW(2) /* RT_BITMAP */, MAKEINTRESOURCEW(30000));
  ASSERT_EQ(data.size(), 224u);
  BITMAPINFOHEADER header{};
  std::memcpy(&header, data.data(), sizeof header);
  EXPECT_EQ(header.biSize, 40u);
  EXPECT_EQ(header.biWidth, 16);
  EXPECT_EQ(header.biHeight, 15);
  EXPECT_EQ(header.biPlanes, 1);
  EXPECT_EQ(header.biBitCount, 4);
  EXPECT_EQ(header.biCompression, static_cast<DWORD>(BI_RGB));
  RGBQUAD palette[16];
  std::memcpy(palette, data.data() + 40, sizeof palette);
  EXPECT_EQ(RGB(palette[0].rgbRed, palette[0].rgbGreen, palette[0].rgbBlue), RGB(0, 0, 0));
  EXPECT_EQ(RGB(palette[7].rgbRed, palette[7].rgbGreen, palette[7].rgbBlue), RGB(192, 192, 192));
  EXPECT_EQ(RGB(palette[15].rgbRed, palette[15].rgbGreen, palette[15].rgbBlue), RGB(255, 255, 255));
  // The pixels are the painter's toolbox picture: bottom row first, two pixels a byte.
  const velmora::ToolboxPicture& toolbox = velmora::Toolbox();
  for (int y = 0; y < velmora::ToolboxPicture::kHeight; ++y) {
    for (int x = 0; x < velmora::ToolboxPicture::kWidth; ++x) {
      const BYTE pair = data[40 + sizeof palette + (14 - y) * 8 + x / 2];
      EXPECT_EQ(x % 2 == 0 ? pair >> 4 : pair & 0xf, toolbox.pixels[y * 16 + x]) << x << "," << y;
    }
  }
}

// One node of the version resource: length, value length, type, key, then value and children,
// each aligned to 32 bits.
struct VersionNode {
  std::wstring key;
  const BYTE* value;
  WORD value_length;
  std::vector<VersionNode> children;
};

const BYTE* Align(const BYTE* start, const BYTE* at) {
  return start + ((at - start + 3) & ~3);
}

VersionNode ParseNode(const BYTE* start, const BYTE* node) {
  WORD length = 0;
  WORD value_length = 0;
  WORD type = 0;
  std::memcpy(&length, node, 2);
  std::memcpy(&value_length, node + 2, 2);
  std::memcpy(&type, node + 4, 2);
  const auto* key = reinterpret_cast<const wchar_t*>(node + 6);
  VersionNode result{key, nullptr, value_length, {}};
  const BYTE* at = Align(start, node + 6 + (result.key.size() + 1) * 2);
  result.value = at;
  at = Align(start, at + (type == 1 ? value_length * 2 : value_length));
  while (at < node + length) {
    result.children.push_back(ParseNode(start, at));
    WORD child_length = 0;
    std::memcpy(&child_length, at, 2);
    if (child_length == 0) break;
    at = Align(start, at + child_length);
  }
  return result;
}

TEST_F(PackagingTest, VersionResourceHasTheFixedPartAndSixKeysInOrder) {
  const auto data = Resource(module(), MAKEINTRESOURCEW(16) /* RT_VERSION */, MAKEINTRESOURCEW(1));
  ASSERT_FALSE(data.empty());
  const VersionNode root = ParseNode(data.data(), data.data());
  EXPECT_EQ(root.key, L"VS_VERSION_INFO");
  ASSERT_EQ(root.value_length, sizeof(VS_FIXEDFILEINFO));
  VS_FIXEDFILEINFO fixed{};
  std::memcpy(&fixed, root.value, sizeof fixed);
  EXPECT_EQ(fixed.dwSignature, 0xFEEF04BDu);
  EXPECT_EQ(fixed.dwFileVersionMS, 0x00010000u);
  EXPECT_EQ(fixed.dwFileVersionLS, 0u);
  EXPECT_EQ(fixed.dwProductVersionMS, 0x00010000u);
  EXPECT_EQ(fixed.dwProductVersionLS, 0u);
  EXPECT_EQ(fixed.dwFileFlagsMask, 0u);
  EXPECT_EQ(fixed.dwFileFlags, 0u);
  EXPECT_EQ(fixed.dwFileOS, static_cast<DWORD>(VOS__WINDOWS32));
  EXPECT_EQ(fixed.dwFileType, static_cast<DWORD>(VFT_DLL));
  EXPECT_EQ(fixed.dwFileSubtype, 0u);

  ASSERT_EQ(root.children.size(), 2u);
  const VersionNode& strings = root.children[0];
  EXPECT_EQ(strings.key, L"StringFileInfo");
  ASSERT_EQ(strings.children.size(), 1u);
  const VersionNode& block = strings.children[0];
  EXPECT_EQ(block.key, L"040904B0");
  const std::pair<std::wstring, std::wstring> expected[] = {
      {L"ProductName", L"Velmora"},
      {L"FileVersion", L"1.00"},
      {L"ProductVersion", L"1.00"},
      {L"InternalName", L"VelmoraSW"},
      {L"OriginalFilename", L"VelmoraSW.ocx"},
      {L"OLESelfRegister", L""},
  };
  ASSERT_EQ(block.children.size(), std::size(expected));
  for (std::size_t i = 0; i < std::size(expected); ++i) {
    const VersionNode& entry = block.children[i];
    EXPECT_EQ(entry.key, expected[i].first);
    const std::wstring value =
        entry.value_length == 0 ? L"" : reinterpret_cast<const wchar_t*>(entry.value);
    EXPECT_EQ(value, expected[i].second) << expected[i].first;
  }

  const VersionNode& variables = root.children[1];
  EXPECT_EQ(variables.key, L"VarFileInfo");
  ASSERT_EQ(variables.children.size(), 1u);
  EXPECT_EQ(variables.children[0].key, L"Translation");
  ASSERT_EQ(variables.children[0].value_length, 4);
  WORD translation[2] = {};
  std::memcpy(translation, variables.children[0].value, 4);
  EXPECT_EQ(translation[0], 0x0409);
  EXPECT_EQ(translation[1], 1200);
}

}  // namespace
}  // namespace velmora::testing
