// The second class through the object both classes share: what each class answers for, the
// refusal of a value a member does not take, its notices and its saved values.
#include <string>
#include <vector>

#include "com_fixture.h"
#include "control/members.h"

namespace velmora::testing {
namespace {

using ChessBoardTest = LibraryTest;

constexpr DISPID kDragEnabledId = 0x100;
constexpr DISPID kLegalMovesId = 0x101;

std::wstring Text(BSTR text) {
  std::wstring result = text ? std::wstring(text, SysStringLen(text)) : std::wstring();
  SysFreeString(text);
  return result;
}

TEST_F(ChessBoardTest, EachClassAnswersWithItsOwnIdentityAndInterfaces) {
  const struct {
    CLSID class_id;
    IID source;
    IID other_source;
    bool board_interface;
  } classes[] = {
      {__uuidof(::UserControl1), __uuidof(__UserControl1), __uuidof(__ChessBoard), false},
      {__uuidof(::ChessBoard), __uuidof(__ChessBoard), __uuidof(__UserControl1), true},
  };
  for (const auto& klass : classes) {
    SCOPED_TRACE(klass.board_interface ? "ChessBoard" : "UserControl1");
    const ComPtr<IDispatch> control = CreateControl(klass.class_id);
    ASSERT_TRUE(control);
    ComPtr<IUnknown> board;
    EXPECT_EQ(control->QueryInterface(__uuidof(_ChessBoard), board.PutVoid()),
              klass.board_interface ? S_OK : E_NOINTERFACE);
    ComPtr<IUnknown> first;
    EXPECT_EQ(control->QueryInterface(__uuidof(_UserControl1), first.PutVoid()), S_OK);
    for (const IID& events : {klass.source, klass.other_source}) {
      ComPtr<IUnknown> sink;
      EXPECT_EQ(control->QueryInterface(events, sink.PutVoid()), E_NOINTERFACE);
    }

    CLSID class_id{};
    EXPECT_EQ(control.As<IPersistStreamInit>()->GetClassID(&class_id), S_OK);
    EXPECT_TRUE(IsEqualGUID(class_id, klass.class_id));
    const auto info = control.As<IProvideClassInfo2>();
    GUID source{};
    EXPECT_EQ(info->GetGUID(GUIDKIND_DEFAULT_SOURCE_DISP_IID, &source), S_OK);
    EXPECT_TRUE(IsEqualGUID(source, klass.source));
    ComPtr<ITypeInfo> coclass;
    ASSERT_EQ(info->GetClassInfo(coclass.Put()), S_OK);
    TYPEATTR* attributes = nullptr;
    ASSERT_EQ(coclass->GetTypeAttr(&attributes), S_OK);
    EXPECT_TRUE(IsEqualGUID(attributes->guid, klass.class_id));
    coclass->ReleaseTypeAttr(attributes);

    const auto points = control.As<IConnectionPointContainer>();
    ComPtr<IConnectionPoint> point;
    EXPECT_EQ(points->FindConnectionPoint(klass.source, point.Put()), S_OK);
    EXPECT_EQ(points->FindConnectionPoint(klass.other_source, point.Put()), CONNECT_E_NOCONNECTION);
  }
}

TEST_F(ChessBoardTest, LateBindingFindsTheInheritedMembersAndTheNewOnes) {
  const ComPtr<IDispatch> control = CreateControl(__uuidof(::ChessBoard));
  ASSERT_TRUE(control);
  EXPECT_EQ(IdOf(control.get(), L"PutMove"), kPutMoveId);
  EXPECT_EQ(IdOf(control.get(), L"fen"), 0x10A);
  ASSERT_EQ(PutText(control.get(), L"PutMove", L"E2-E4"), S_OK);
  EXPECT_EQ(GetText(control.get(), L"GetMove"), L"E2-E4");
  // A move written again after a takeback is made again.
  ASSERT_EQ(PutText(control.get(), L"Fen", L"8/8/8/8/8/8/4P3/8"), S_OK);
  ASSERT_EQ(PutText(control.get(), L"PutMove", L"E2-E4"), S_OK);
  EXPECT_EQ(GetText(control.get(), L"Fen"), L"8/8/8/8/4P3/8/8/8");
  EXPECT_EQ(CallMethod(control.get(), L"Refresh"), S_OK);
  ASSERT_EQ(PutTruth(control.get(), L"DragEnabled", false), S_OK);
  EXPECT_FALSE(GetTruth(control.get(), L"DragEnabled"));
}

// The type library holds every member of the table under its dispatch id, for each class that
// has it; a UserControl1 finds none of ChessBoard's own.
TEST_F(ChessBoardTest, EachClassFindsTheTablesMembersByTheirIds) {
  for (const ControlClass control_class :
       {ControlClass::kUserControl1, ControlClass::kChessBoard}) {
    const bool chess_board = control_class == ControlClass::kChessBoard;
    SCOPED_TRACE(chess_board ? "ChessBoard" : "UserControl1");
    const ComPtr<IDispatch> control =
        CreateControl(chess_board ? __uuidof(::ChessBoard) : __uuidof(::UserControl1));
    ASSERT_TRUE(control);
    for (const Member& member : kMembers) {
      std::wstring name(member.name.begin(), member.name.end());
      SCOPED_TRACE(name);
      LPOLESTR names[] = {name.data()};
      DISPID id = DISPID_UNKNOWN;
      const HRESULT found = control->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
      if (HasMember(control_class, member)) {
        EXPECT_EQ(found, S_OK);
        EXPECT_EQ(id, member.dispatch_id);
      } else {
        EXPECT_EQ(found, DISP_E_UNKNOWNNAME);
      }
    }
  }
}

TEST_F(ChessBoardTest, RefusedWriteIsAnExceptionCarryingTheReasonAndChangesNothing) {
  const ComPtr<IDispatch> control = CreateControl(__uuidof(::ChessBoard));
  ASSERT_TRUE(control);
  const auto notices = com::MakeObject<NoticeSink>();
  const DWORD cookie = Connect(control.get(), IID_IPropertyNotifySink, notices.get());
  ASSERT_EQ(PutText(control.get(), L"LegalMoves", L"e2e4"), S_OK);

  VARIANT value = TextVariant(L"E2-E4 E9-E10");
  DISPID put = DISPID_PROPERTYPUT;
  DISPPARAMS params{&value, &put, 1, 1};
  EXCEPINFO exception{};
  UINT argument_error = 0;
  EXPECT_EQ(control->Invoke(kLegalMovesId, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYPUT,
                            &params, nullptr, &exception, &argument_error),
            DISP_E_EXCEPTION);
  VariantClear(&value);
  EXPECT_EQ(exception.scode, E_INVALIDARG);
  EXPECT_EQ(Text(exception.bstrSource), L"Project1");
  const std::wstring reason = Text(exception.bstrDescription);
  EXPECT_FALSE(reason.empty());
  SysFreeString(exception.bstrHelpFile);

  // The same through the interface's own table, with the reason left for GetErrorInfo.
  const auto board = control.As<_ChessBoard>();
  ASSERT_TRUE(board);
  BSTR bad = SysAllocString(L"E2-E4 E9-E10");
  EXPECT_EQ(board->put_LegalMoves(bad), E_INVALIDARG);
  SysFreeString(bad);
  ComPtr<IErrorInfo> error;
  ASSERT_EQ(GetErrorInfo(0, error.Put()), S_OK);
  BSTR description = nullptr;
  EXPECT_EQ(error->GetDescription(&description), S_OK);
  EXPECT_EQ(Text(description), reason);
  EXPECT_EQ(board->put_Orientation(static_cast<::BoardOrientation>(2)), E_INVALIDARG);
  EXPECT_EQ(board->put_AnimationTime(2001), E_INVALIDARG);
  EXPECT_EQ(board->put_LightSquareColor(0x80000005), E_INVALIDARG);  // a system colour
  std::wstring refused;  // where the first class shows a message box
  EXPECT_EQ(PutText(control.get(), L"PutPosition", L"RNB", &refused), E_INVALIDARG);
  EXPECT_EQ(refused, L"PutPosition: Data Length Error");

  EXPECT_EQ(GetText(control.get(), L"LegalMoves"), L"E2-E4");
  EXPECT_EQ(notices->changed, (std::vector<DISPID>{kLegalMovesId}));
  Disconnect(control.get(), IID_IPropertyNotifySink, cookie);
}

TEST_F(ChessBoardTest, NoticesNameInheritedAndNewMembers) {
  const ComPtr<IDispatch> control = CreateControl(__uuidof(::ChessBoard));
  ASSERT_TRUE(control);
  const auto notices = com::MakeObject<NoticeSink>();
  const DWORD cookie = Connect(control.get(), IID_IPropertyNotifySink, notices.get());
  ASSERT_EQ(PutText(control.get(), L"PutMove", L"E2-E4"), S_OK);
  ASSERT_EQ(PutTruth(control.get(), L"DragEnabled", false), S_OK);
  EXPECT_EQ(notices->changed, (std::vector<DISPID>{kPutMoveId, kDragEnabledId}));
  EXPECT_EQ(control.As<IPersistStreamInit>()->IsDirty(), S_OK);
  Disconnect(control.get(), IID_IPropertyNotifySink, cookie);
}

VARIANT Short(short value) {
  VARIANT variant;
  VariantInit(&variant);
  V_VT(&variant) = VT_I2;
  V_I2(&variant) = value;
  return variant;
}

// ChessBoard's ten saved values follow the four, numbers as numbers; any kind of number a
// container kept them as loads back.
TEST_F(ChessBoardTest, SavesItsTenValuesAfterTheFourAndLoadsNumbersOfAnyKind) {
  const ComPtr<IDispatch> control = CreateControl(__uuidof(::ChessBoard));
  ASSERT_TRUE(control);
  const auto board = control.As<_ChessBoard>();
  ASSERT_EQ(board->put_AnimationTime(400), S_OK);
  ASSERT_EQ(board->put_Orientation(vlBlackAtBottom), S_OK);
  const auto bag = com::MakeObject<MemoryPropertyBag>();
  ASSERT_EQ(control.As<IPersistPropertyBag>()->Save(bag.get(), TRUE, TRUE), S_OK);
  EXPECT_EQ(bag->written,
            (std::vector<std::wstring>{
                L"Enabled", L"GetMove", L"PutMove", L"PutPosition", L"DragEnabled",
                L"ShowLegalMoves", L"Orientation", L"ShowLastMove", L"AnimationTime", L"Theme",
                L"LightSquareColor", L"DarkSquareColor", L"Coordinates", L"EditMode"}));
  VARIANT number;
  VariantInit(&number);
  ASSERT_EQ(VariantChangeType(&number, &bag->values[L"AnimationTime"], 0, VT_I4), S_OK);
  EXPECT_EQ(V_I4(&number), 400);
  EXPECT_EQ(V_VT(&bag->values[L"DragEnabled"]), VT_BOOL);

  bag->Set(L"AnimationTime", Short(25));
  bag->Set(L"Orientation", Short(1));
  const ComPtr<IDispatch> copy = CreateControl(__uuidof(::ChessBoard));
  ASSERT_EQ(copy.As<IPersistPropertyBag>()->Load(bag.get(), nullptr), S_OK);
  const auto loaded = copy.As<_ChessBoard>();
  LONG time = 0;
  ::BoardOrientation orientation = vlWhiteAtBottom;
  EXPECT_EQ(loaded->get_AnimationTime(&time), S_OK);
  EXPECT_EQ(loaded->get_Orientation(&orientation), S_OK);
  EXPECT_EQ(time, 25);
  EXPECT_EQ(orientation, vlBlackAtBottom);

  // A UserControl1 saves the four only.
  const auto first_bag = com::MakeObject<MemoryPropertyBag>();
  const ComPtr<IDispatch> first = CreateControl();
  ASSERT_EQ(first.As<IPersistPropertyBag>()->Save(first_bag.get(), TRUE, TRUE), S_OK);
  EXPECT_EQ(first_bag->written.size(), 4u);
}

// In a stream the ten follow the four too, and come back as they were written.
TEST_F(ChessBoardTest, ItsValuesRoundTripInAStream) {
  const ComPtr<IDispatch> control = CreateControl(__uuidof(::ChessBoard));
  ASSERT_TRUE(control);
  const auto board = control.As<_ChessBoard>();
  ASSERT_EQ(board->put_DragEnabled(VARIANT_FALSE), S_OK);
  ASSERT_EQ(board->put_ShowLastMove(VARIANT_FALSE), S_OK);
  ASSERT_EQ(board->put_Orientation(vlBlackAtBottom), S_OK);
  ASSERT_EQ(board->put_AnimationTime(0), S_OK);
  ASSERT_EQ(board->put_Theme(vlThemeGreen), S_OK);
  ASSERT_EQ(board->put_DarkSquareColor(0x123456), S_OK);
  ComPtr<IStream> stream;
  ASSERT_EQ(CreateStreamOnHGlobal(nullptr, TRUE, stream.Put()), S_OK);
  ASSERT_EQ(control.As<IPersistStreamInit>()->Save(stream.get(), TRUE), S_OK);
  const LARGE_INTEGER start{};
  ASSERT_EQ(stream->Seek(start, STREAM_SEEK_SET, nullptr), S_OK);
  const ComPtr<IDispatch> copy = CreateControl(__uuidof(::ChessBoard));
  ASSERT_EQ(copy.As<IPersistStreamInit>()->Load(stream.get()), S_OK);
  const auto loaded = copy.As<_ChessBoard>();
  VARIANT_BOOL drag = VARIANT_TRUE, legal = VARIANT_FALSE, last = VARIANT_TRUE;
  ::BoardOrientation orientation = vlWhiteAtBottom;
  LONG time = -1;
  EXPECT_EQ(loaded->get_DragEnabled(&drag), S_OK);
  EXPECT_EQ(loaded->get_ShowLegalMoves(&legal), S_OK);
  EXPECT_EQ(loaded->get_ShowLastMove(&last), S_OK);
  EXPECT_EQ(loaded->get_Orientation(&orientation), S_OK);
  EXPECT_EQ(loaded->get_AnimationTime(&time), S_OK);
  EXPECT_EQ(drag, VARIANT_FALSE);
  EXPECT_EQ(legal, VARIANT_TRUE);
  EXPECT_EQ(last, VARIANT_FALSE);
  EXPECT_EQ(orientation, vlBlackAtBottom);
  EXPECT_EQ(time, 0);
  ::BoardTheme theme = vlThemeBrown;
  OLE_COLOR dark = 0;
  EXPECT_EQ(loaded->get_Theme(&theme), S_OK);
  EXPECT_EQ(loaded->get_DarkSquareColor(&dark), S_OK);
  EXPECT_EQ(theme, vlThemeGreen);
  EXPECT_EQ(dark, 0x123456u);
}

}  // namespace
}  // namespace velmora::testing
