// A host that means harm, or does not care: it loads the control library, makes controls
// through the library's exports and drives them only through their public interfaces, with
// random but reproducible calls. After every call the answer must be a defined status and the
// control must still work; over the run the process must not grow. With `--soak N` it runs N
// create/position/move/click/destroy cycles in a real container instead and reports what the
// process holds as it goes. The last line is the summary tools/check-windows.sh reads.
#include <ocidl.h>
#include <olectl.h>
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <functional>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "Project1.h"
#include "host_objects.h"
#include "tests/runtime/com/resource_count.h"

namespace velmora::hostile {
namespace {

using testing::Grew;
using testing::ResourceCount;

constexpr DWORD kTimeBudgetMs = 10 * 60 * 1000;
constexpr std::uint64_t kMemoryAllowance = 2 << 20;
const wchar_t kInitialPosition[] =
    L"RNBQKBNRPPPPPPPP********************************pppppppprnbqkbnr";

std::wstring BesideProgram(const wchar_t* name) {
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring directory = path;
  return directory.substr(0, directory.find_last_of(L"\\/") + 1) + name;
}

// Closes every message box the control opens, as a user pressing OK would.
LRESULT CALLBACK CloseMessageBoxes(int code, WPARAM wparam, LPARAM lparam) {
  if (code == HCBT_ACTIVATE) {
    wchar_t name[16] = {};
    GetClassNameW(reinterpret_cast<HWND>(wparam), name, 16);
    if (lstrcmpW(name, L"#32770") == 0) {
      PostMessageW(reinterpret_cast<HWND>(wparam), WM_COMMAND, IDOK, 0);
    }
  }
  return CallNextHookEx(nullptr, code, wparam, lparam);
}

void Pump() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

// Ends the process if the run takes longer than its budget: a hang is a failure too.
DWORD WINAPI Watchdog(void*) {
  Sleep(kTimeBudgetMs);
  std::printf("hang: the run took longer than %lu s\nVELMORA-HOSTILE-TESTS: FAILED 1 of 1\n",
              kTimeBudgetMs / 1000);
  std::fflush(stdout);
  ExitProcess(3);
}

// A crash is reported as a failure and ends the process at once, rather than waiting for a
// debugger nobody will attach.
LONG WINAPI ReportCrash(EXCEPTION_POINTERS* crash) {
  std::printf("crash: exception 0x%08lx at %p\nVELMORA-HOSTILE-TESTS: FAILED 1 of 1\n",
              crash->ExceptionRecord->ExceptionCode, crash->ExceptionRecord->ExceptionAddress);
  std::fflush(stdout);
  ExitProcess(4);
}

// Statuses a caller can act on: the COM, OLE, Automation and storage answers the interfaces
// document, and the control's own errors.
bool Defined(HRESULT hr) {
  static const HRESULT known[] = {
      S_OK,
      S_FALSE,
      E_POINTER,
      E_INVALIDARG,
      E_NOTIMPL,
      E_FAIL,
      E_UNEXPECTED,
      E_OUTOFMEMORY,
      E_NOINTERFACE,
      OLEOBJ_S_INVALIDVERB,
      OLE_S_USEREG,
      OLE_E_NOCONNECTION,
      DV_E_DVASPECT,
      CONNECT_E_NOCONNECTION,
      CONNECT_E_CANNOTCONNECT,
      INPLACE_E_NOTUNDOABLE,
      CLASS_E_NOAGGREGATION,
      CLASS_E_CLASSNOTAVAILABLE,
  };
  for (const HRESULT k : known) {
    if (hr == k) return true;
  }
  const int facility = HRESULT_FACILITY(hr);
  return FAILED(hr) && (facility == FACILITY_DISPATCH || facility == FACILITY_CONTROL ||
                        facility == FACILITY_STORAGE);
}

struct Figures {
  long calls = 0;
  std::map<std::string, long> per_interface;
  long undefined = 0;
  long broken = 0;  // times the control stopped working
};

class Driver {
 public:
  explicit Driver(HMODULE library) {
    get_class_object_ = reinterpret_cast<GetClassObject>(
        reinterpret_cast<void (*)()>(GetProcAddress(library, "DllGetClassObject")));
    can_unload_ = reinterpret_cast<CanUnload>(
        reinterpret_cast<void (*)()>(GetProcAddress(library, "DllCanUnloadNow")));
  }

  bool Loaded() const { return get_class_object_ && can_unload_; }
  HRESULT CanUnloadNow() const { return can_unload_(); }

  Ref<IDispatch> NewControl() {
    Ref<IClassFactory> factory;
    Note("exports", get_class_object_(CLSID_UserControl1, IID_IClassFactory, factory.PutVoid()));
    Ref<IDispatch> control;
    if (factory)
      Note("IClassFactory", factory->CreateInstance(nullptr, IID_IDispatch, control.PutVoid()));
    return control;
  }
  Ref<IClassFactory> Factory() {
    Ref<IClassFactory> factory;
    Note("exports", get_class_object_(CLSID_UserControl1, IID_IClassFactory, factory.PutVoid()));
    return factory;
  }

  HRESULT Note(const char* where, HRESULT hr) {
    ++figures.calls;
    ++figures.per_interface[where];
    if (!Defined(hr)) {
      ++figures.undefined;
      if (figures.undefined <= 10) std::printf("  undefined status 0x%08lx from %s\n", hr, where);
    }
    return hr;
  }

  DISPID IdOf(IDispatch* control, const wchar_t* name) {
    LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
    DISPID id = DISPID_UNKNOWN;
    control->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
    return id;
  }

  HRESULT Put(IDispatch* control, DISPID id, const wchar_t* text) {
    VARIANT value;
    VariantInit(&value);
    V_VT(&value) = VT_BSTR;
    V_BSTR(&value) = SysAllocString(text);
    DISPID put = DISPID_PROPERTYPUT;
    DISPPARAMS params{&value, &put, 1, 1};
    const HRESULT hr = control->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYPUT,
                                       &params, nullptr, nullptr, nullptr);
    VariantClear(&value);
    return hr;
  }

  std::wstring Get(IDispatch* control, DISPID id) {
    VARIANT result;
    VariantInit(&result);
    DISPPARAMS none{nullptr, nullptr, 0, 0};
    control->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYGET, &none, &result,
                    nullptr, nullptr);
    std::wstring text = V_VT(&result) == VT_BSTR && V_BSTR(&result) ? V_BSTR(&result) : L"";
    VariantClear(&result);
    return text;
  }

  // The control still does its job: a reset to the initial position, then a pushed move that
  // reads back.
  bool Works(IDispatch* control) {
    const DISPID position = IdOf(control, L"PutPosition");
    const DISPID put_move = IdOf(control, L"PutMove");
    const DISPID get_move = IdOf(control, L"GetMove");
    const bool works = SUCCEEDED(Put(control, position, kInitialPosition)) &&
                       SUCCEEDED(Put(control, put_move, L"")) &&
                       SUCCEEDED(Put(control, put_move, L"E2-E4")) &&
                       Get(control, get_move) == L"E2-E4";
    if (!works) ++figures.broken;
    return works;
  }

  Figures figures;

 private:
  using GetClassObject = HRESULT(WINAPI*)(REFCLSID, REFIID, void**);
  using CanUnload = HRESULT(WINAPI*)();
  GetClassObject get_class_object_ = nullptr;
  CanUnload can_unload_ = nullptr;
};

// The values a hostile caller puts in an argument, and what must be freed afterwards.
class ArgumentMaker {
 public:
  explicit ArgumentMaker(std::mt19937& random) : random_(random) {}
  ~ArgumentMaker() {
    for (VARIANT& v : owned_) VariantClear(&v);
    for (BSTR text : texts_) SysFreeString(text);
  }

  void Fill(VARIANT& argument) {
    VariantInit(&argument);
    switch (random_() % 16) {
      case 0:
        break;
      case 1:
        V_VT(&argument) = VT_NULL;
        break;
      case 2:
        V_VT(&argument) = VT_I4;
        V_I4(&argument) = static_cast<LONG>(random_());
        break;
      case 3:
        V_VT(&argument) = VT_R8;
        V_R8(&argument) = (random_() % 2 ? 1e308 : -0.5);
        break;
      case 4:
        V_VT(&argument) = VT_BOOL;
        V_BOOL(&argument) = random_() % 2 ? VARIANT_TRUE : VARIANT_FALSE;
        break;
      case 5:
        V_VT(&argument) = VT_BSTR;
        V_BSTR(&argument) = nullptr;
        break;
      case 6:
      case 7:
        V_VT(&argument) = VT_BSTR;
        V_BSTR(&argument) = Keep(SomeText());
        break;
      case 8:
        V_VT(&argument) = VT_BSTR;
        V_BSTR(&argument) = Keep(HugeText());
        break;
      case 9:
        V_VT(&argument) = VT_BYREF | VT_BSTR;
        bstr_slots_.push_back(Keep(SomeText()));
        V_BSTRREF(&argument) = &bstr_slots_.back();
        break;
      case 10:
        V_VT(&argument) = VT_BYREF | static_cast<VARTYPE>(random_() % 2 ? VT_BSTR : VT_VARIANT);
        V_BYREF(&argument) = nullptr;
        break;
      case 11: {
        VARIANT& inner = variant_slots_.emplace_back();
        VariantInit(&inner);
        V_VT(&inner) = VT_BSTR;
        V_BSTR(&inner) = Keep(SomeText());
        V_VT(&argument) = VT_BYREF | VT_VARIANT;
        V_VARIANTREF(&argument) = &inner;
        break;
      }
      case 12:
        V_VT(&argument) = VT_ARRAY | VT_BSTR;
        V_ARRAY(&argument) = SafeArrayCreateVector(VT_BSTR, 0, random_() % 4);
        Own(argument);
        break;
      case 13:
        V_VT(&argument) = static_cast<VARTYPE>(random_() % 2 ? VT_DISPATCH : VT_UNKNOWN);
        V_DISPATCH(&argument) =
            random_() % 3 ? new ValueObject(static_cast<int>(random_() % 3)) : nullptr;
        Own(argument);
        break;
      case 14:
        V_VT(&argument) = VT_ERROR;
        V_ERROR(&argument) = DISP_E_PARAMNOTFOUND;
        break;
      default:
        V_VT(&argument) = static_cast<VARTYPE>(0x48 + random_() % 8);  // kinds nobody defines
        V_I4(&argument) = 1;
        break;
    }
  }

 private:
  std::wstring SomeText() {
    static const wchar_t* const texts[] = {
        L"E2-E4", L"*", L"e7-e8", L"A1-H8", L"Z9-Z9", L"E2-E4-E6", L"\x263a\xd800", L"", L"RNBQ"};
    std::wstring text = texts[random_() % 9];
    if (random_() % 4 == 0) text = std::wstring(64, L"RNBQKBNRPp*"[random_() % 11]);
    return text;
  }
  std::wstring HugeText() { return std::wstring(1 + random_() % 0x200000, L'P'); }
  BSTR Keep(const std::wstring& text) {
    texts_.push_back(SysAllocStringLen(text.data(), static_cast<UINT>(text.size())));
    return texts_.back();
  }
  void Own(VARIANT& argument) {
    owned_.push_back(argument);
    VariantInit(&argument);
    argument = owned_.back();
  }

  std::mt19937& random_;
  std::vector<BSTR> texts_;
  std::vector<VARIANT> owned_;
  // Arguments passed by reference point in here; a deque keeps its elements where they are.
  std::deque<BSTR> bstr_slots_;
  std::deque<VARIANT> variant_slots_;
};

struct Phase {
  const char* name;
  bool passed;
};

class HostileRun {
 public:
  explicit HostileRun(Driver& driver) : driver_(driver) {}

  // Random Invoke and GetIDsOfNames calls; after each, the control must still work.
  bool Dispatch(std::uint32_t seed, int count) {
    std::mt19937 random(seed);
    const Ref<IDispatch> control = driver_.NewControl();
    if (!control) return false;
    const DISPID members[] = {driver_.IdOf(control.get(), L"Enabled"),
                              driver_.IdOf(control.get(), L"GetMove"),
                              driver_.IdOf(control.get(), L"PutMove"),
                              driver_.IdOf(control.get(), L"PutPosition"),
                              driver_.IdOf(control.get(), L"Refresh"),
                              DISPID_VALUE,
                              DISPID_UNKNOWN,
                              0x7FFFFFFF};
    const WORD flag_choices[] = {DISPATCH_METHOD,
                                 DISPATCH_PROPERTYGET,
                                 DISPATCH_PROPERTYPUT,
                                 DISPATCH_PROPERTYPUTREF,
                                 DISPATCH_METHOD | DISPATCH_PROPERTYGET,
                                 DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF,
                                 0,
                                 0xFFFF};
    bool ok = true;
    for (int i = 0; i < count; ++i) {
      if (random() % 8 == 0) {
        LookUpNames(*control.get(), random);
        continue;
      }
      ArgumentMaker maker(random);
      VARIANT arguments[6];
      DISPID named[6];
      const UINT given = random() % 7;
      for (UINT a = 0; a < 6; ++a) maker.Fill(arguments[a]);
      for (DISPID& n : named) {
        n = random() % 3 ? DISPID_PROPERTYPUT : static_cast<DISPID>(random() % 5) - 2;
      }
      const UINT named_count = random() % 3 == 0 ? 0 : random() % (given + 1);
      DISPPARAMS params{random() % 16 ? arguments : nullptr, random() % 16 ? named : nullptr, given,
                        named_count};
      VARIANT result;
      VariantInit(&result);
      EXCEPINFO exception{};
      UINT argument_error = 0;
      const bool with_outputs = random() % 2;
      driver_.Note(
          "IDispatch",
          control->Invoke(members[random() % 8], IID_NULL, LOCALE_USER_DEFAULT,
                          flag_choices[random() % 8], random() % 32 ? &params : nullptr,
                          with_outputs ? &result : nullptr, with_outputs ? &exception : nullptr,
                          with_outputs ? &argument_error : nullptr));
      VariantClear(&result);
      SysFreeString(exception.bstrSource);
      SysFreeString(exception.bstrDescription);
      SysFreeString(exception.bstrHelpFile);
      ok = driver_.Works(control.get()) && ok;
    }
    return ok;
  }

  // Loads of random, truncated and mutated streams, some of which cannot tell their size or
  // fail part way.
  bool Streams(std::uint32_t seed, int count) {
    std::mt19937 random(seed);
    const Ref<IDispatch> control = driver_.NewControl();
    if (!control) return false;
    const auto persist = control.As<IPersistStreamInit>(IID_IPersistStreamInit);
    driver_.Put(control.get(), driver_.IdOf(control.get(), L"PutMove"), L"E2-E4");
    const auto good = Make<OddStream>(std::string(), StreamMood::kPlain, 0);
    driver_.Note("IPersistStreamInit", persist->Save(good.get(), TRUE));
    const std::string saved = good->bytes();
    bool ok = true;
    for (int i = 0; i < count; ++i) {
      std::string bytes = saved;
      switch (random() % 5) {
        case 0:
          bytes.resize(random() % (saved.size() + 1));
          break;
        case 1:
          for (int flips = 1 + random() % 4; flips > 0; --flips) {
            bytes[random() % bytes.size()] = static_cast<char>(random());
          }
          break;
        case 2: {
          const std::size_t at = random() % (bytes.size() - 3);
          std::memset(&bytes[at], 0xFF, 4);
          break;
        }
        case 3:
          bytes.assign(random() % 64, '\0');
          for (char& c : bytes) c = static_cast<char>(random());
          break;
        default:
          break;
      }
      const auto mood = static_cast<StreamMood>(random() % 4);
      const auto stream = Make<OddStream>(bytes, mood, random() % (bytes.size() + 1));
      driver_.Note("IPersistStreamInit", persist->Load(stream.get()));
      if (random() % 8 == 0) {
        const auto target = Make<OddStream>(std::string(), mood, random() % 200);
        driver_.Note("IPersistStreamInit", persist->Save(target.get(), random() % 2));
        ULARGE_INTEGER size{};
        driver_.Note("IPersistStreamInit", persist->GetSizeMax(random() % 4 ? &size : nullptr));
      }
      ok = driver_.Works(control.get()) && ok;
    }
    driver_.Note("IPersistStreamInit", persist->Load(nullptr));
    driver_.Note("IPersistStreamInit", persist->Save(nullptr, TRUE));
    return ok;
  }

  // Loads from and saves to bags that fail, return the wrong kinds, or fill and then fail.
  bool Bags(std::uint32_t seed, int count) {
    std::mt19937 random(seed);
    const Ref<IDispatch> control = driver_.NewControl();
    if (!control) return false;
    const auto persist = control.As<IPersistPropertyBag>(IID_IPersistPropertyBag);
    bool ok = true;
    for (int i = 0; i < count; ++i) {
      const auto bag = Make<OddBag>(static_cast<BagMood>(random() % 6), random());
      driver_.Note("IPersistPropertyBag", random() % 4
                                              ? persist->Load(bag.get(), nullptr)
                                              : persist->Save(bag.get(), TRUE, random() % 2));
      ok = driver_.Works(control.get()) && ok;
    }
    driver_.Note("IPersistPropertyBag", persist->Load(nullptr, nullptr));
    return ok;
  }

  // Sinks that fail, disconnect themselves or let go of the control inside an event, bogus
  // cookies, objects that are no sinks.
  bool ConnectionPoints(std::uint32_t seed, int count) {
    std::mt19937 random(seed);
    bool ok = true;
    for (int i = 0; i < count; ++i) {
      Ref<IDispatch> control = driver_.NewControl();
      if (!control) return false;
      const auto container = control.As<IConnectionPointContainer>(IID_IConnectionPointContainer);
      IID events{};
      Ref<IConnectionPoint> point;
      Ref<IEnumConnectionPoints> points;
      driver_.Note("IConnectionPointContainer", container->EnumConnectionPoints(points.Put()));
      IConnectionPoint* first = nullptr;
      ULONG fetched = 0;
      driver_.Note("IEnumConnectionPoints", points->Next(1, &first, &fetched));
      if (first) {
        driver_.Note("IConnectionPoint", first->GetConnectionInterface(&events));
        first->Release();
      }
      driver_.Note("IEnumConnectionPoints", points->Skip(random()));
      driver_.Note("IEnumConnectionPoints", points->Reset());
      IID bogus = events;
      bogus.Data1 ^= random() | 1;
      driver_.Note("IConnectionPointContainer", container->FindConnectionPoint(bogus, point.Put()));
      const bool notices = random() % 2;
      driver_.Note(
          "IConnectionPointContainer",
          container->FindConnectionPoint(notices ? IID_IPropertyNotifySink : events, point.Put()));
      if (!point) return false;
      driver_.Note("IConnectionPoint", point->Unadvise(random() % 3 ? random() : 0));
      DWORD cookie = 0;
      driver_.Note("IConnectionPoint", point->Advise(nullptr, &cookie));
      driver_.Note("IConnectionPoint", point->Advise(Make<BareSite>().get(), &cookie));
      Ref<IEnumConnections> connections;
      driver_.Note("IConnectionPoint", point->EnumConnections(connections.Put()));

      const auto mood = static_cast<SinkMood>(random() % 4);
      Ref<IUnknown> sink;
      std::function<void()>* inside = nullptr;
      if (notices) {
        const auto notice = Make<NoticeSink>(mood);
        inside = &notice->inside;
        sink = notice.As<IUnknown>(IID_IUnknown);
      } else {
        const auto event = Make<EventSink>(events, mood);
        inside = &event->inside;
        sink = event.As<IUnknown>(IID_IUnknown);
      }
      driver_.Note("IConnectionPoint", point->Advise(sink.get(), &cookie));
      IConnectionPoint* raw_point = point.get();
      if (mood == SinkMood::kLeavesInside) {
        *inside = [this, raw_point, cookie] {
          driver_.Note("IConnectionPoint", raw_point->Unadvise(cookie));
        };
      }
      const DISPID put_move = driver_.IdOf(control.get(), L"PutMove");
      if (mood == SinkMood::kDropsTheControl) {
        // The host lets go of the point and of its last reference to the control from inside
        // an event: the control must finish the call it is in and then go quietly.
        *inside = [&control, &point] {
          point.Reset();
          control.Reset();
        };
      }
      driver_.Note("IDispatch", driver_.Put(control.get(), put_move, L"D2-D4"));
      if (control) ok = driver_.Works(control.get()) && ok;
      if (point && mood != SinkMood::kLeavesInside) {
        driver_.Note("IConnectionPoint", point->Unadvise(cookie));
      }
      if (point) driver_.Note("IConnectionPoint", point->Unadvise(cookie));
    }
    return ok;
  }

  // Calls in the wrong order and with senseless values: closing what was never opened, verbs
  // nobody defined, sites that cannot host, sizes of nothing and of everything, drawing with
  // no device or odd ones.
  bool Lifecycle(std::uint32_t seed, int count) {
    std::mt19937 random(seed);
    bool ok = true;
    const HDC screen = GetDC(nullptr);
    for (int i = 0; i < count; ++i) {
      const Ref<IDispatch> control = driver_.NewControl();
      if (!control) return false;
      const auto object = control.As<IOleObject>(IID_IOleObject);
      const auto in_place = control.As<IOleInPlaceObject>(IID_IOleInPlaceObject);
      const auto site = Make<BareSite>();
      for (int step = 0; step < 12; ++step) {
        switch (random() % 9) {
          case 0:
            driver_.Note("IOleObject", object->Close(random() % 4));
            break;
          case 1: {
            const LONG verbs[] = {OLEIVERB_PRIMARY,
                                  OLEIVERB_SHOW,
                                  OLEIVERB_HIDE,
                                  OLEIVERB_INPLACEACTIVATE,
                                  OLEIVERB_UIACTIVATE,
                                  OLEIVERB_OPEN,
                                  static_cast<LONG>(random()),
                                  -static_cast<LONG>(random() % 100)};
            RECT where{0, 0, static_cast<LONG>(random() % 500), 10};
            driver_.Note("IOleObject", object->DoVerb(verbs[random() % 8], nullptr,
                                                      random() % 2 ? site.get() : nullptr, 0,
                                                      nullptr, random() % 2 ? &where : nullptr));
            break;
          }
          case 2:
            driver_.Note("IOleObject", object->SetClientSite(random() % 2 ? site.get() : nullptr));
            break;
          case 3: {
            const LONG sizes[] = {0, -1, -100000, 1, 0x7FFFFFFF, -0x7FFFFFFF - 1, 12700};
            SIZEL size{sizes[random() % 7], sizes[random() % 7]};
            driver_.Note(
                "IOleObject",
                object->SetExtent(random() % 3 ? static_cast<DWORD>(DVASPECT_CONTENT) : random(),
                                  random() % 8 ? &size : nullptr));
            driver_.Note("IOleObject", object->GetExtent(DVASPECT_CONTENT, &size));
            break;
          }
          case 4:
            driver_.Note("IOleInPlaceObject", in_place->InPlaceDeactivate());
            driver_.Note("IOleInPlaceObject", in_place->UIDeactivate());
            break;
          case 5: {
            RECT odd{500, 500, -20, -20};
            driver_.Note("IOleInPlaceObject",
                         in_place->SetObjectRects(random() % 2 ? &odd : nullptr, nullptr));
            HWND window = nullptr;
            driver_.Note("IOleInPlaceObject", in_place->GetWindow(&window));
            break;
          }
          case 6: {
            DWORD status = 0;
            driver_.Note("IOleObject", object->GetMiscStatus(random(), &status));
            DWORD connection = 0;
            driver_.Note("IOleObject", object->Unadvise(random()));
            driver_.Note("IOleObject", object->Advise(nullptr, &connection));
            break;
          }
          default:
            Draw(*control.get(), random, screen);
            break;
        }
      }
      driver_.Note("IOleObject", object->Close(OLECLOSE_NOSAVE));
      driver_.Note("IOleObject", object->SetClientSite(nullptr));
      ok = driver_.Works(control.get()) && ok;
    }
    ReleaseDC(nullptr, screen);
    return ok;
  }

  // Draws at random sizes into a memory device, or into odd ones.
  bool Draws(std::uint32_t seed, int count) {
    std::mt19937 random(seed);
    const Ref<IDispatch> control = driver_.NewControl();
    if (!control) return false;
    const HDC screen = GetDC(nullptr);
    for (int i = 0; i < count; ++i) Draw(*control.get(), random, screen);
    ReleaseDC(nullptr, screen);
    return driver_.Works(control.get());
  }

 private:
  void LookUpNames(IDispatch& control, std::mt19937& random) {
    LPOLESTR names[] = {const_cast<LPOLESTR>(L"PutMove"), nullptr,
                        const_cast<LPOLESTR>(L"NoSuchMember")};
    DISPID ids[3] = {};
    const UINT count = random() % 4;
    driver_.Note("IDispatch", control.GetIDsOfNames(random() % 8 ? IID_NULL : IID_IDispatch,
                                                    random() % 4 ? names + random() % 2 : nullptr,
                                                    count > 2 ? 2 : count, LOCALE_USER_DEFAULT,
                                                    random() % 4 ? ids : nullptr));
  }

  void Draw(IDispatch& control, std::mt19937& random, HDC screen) {
    const Ref<IViewObject2> view = Ref<IDispatch>(&control).As<IViewObject2>(IID_IViewObject2);
    HDC dc = nullptr;
    HBITMAP bitmap = nullptr;
    HGDIOBJ previous = nullptr;
    HDC metafile = nullptr;
    switch (random() % 4) {
      case 0:
        break;  // no device at all
      case 1:
        metafile = CreateEnhMetaFileW(screen, nullptr, nullptr, nullptr);
        dc = metafile;
        break;
      default:
        dc = CreateCompatibleDC(screen);
        bitmap = CreateCompatibleBitmap(screen, 32, 32);
        previous = SelectObject(dc, bitmap);
        break;
    }
    const LONG height = random() % 3 ? 10 + random() % 3000 : -static_cast<LONG>(random() % 50);
    const LONG width = random() % 8 ? height * 449 / 489 : static_cast<LONG>(random() % 3);
    const RECTL bounds{-5, 7, width - 5, height + 7};
    driver_.Note(
        "IViewObject2",
        view->Draw(random() % 6 ? static_cast<DWORD>(DVASPECT_CONTENT) : random(), -1, nullptr,
                   nullptr, nullptr, dc, random() % 10 ? &bounds : nullptr, nullptr, nullptr, 0));
    if (metafile) DeleteEnhMetaFile(CloseEnhMetaFile(metafile));
    if (bitmap) {
      SelectObject(dc, previous);
      DeleteObject(bitmap);
      DeleteDC(dc);
    }
  }

  Driver& driver_;
};

void PrintFigures(const Figures& figures) {
  std::printf("calls: %ld", figures.calls);
  for (const auto& [where, calls] : figures.per_interface) {
    std::printf(", %s %ld", where.c_str(), calls);
  }
  std::printf("\nundefined statuses: %ld, times the control stopped working: %ld\n",
              figures.undefined, figures.broken);
}

// The counter must see what a leak would leave: objects made on purpose and then freed.
bool CounterSeesALeakMadeOnPurpose() {
  const ResourceCount before = ResourceCount::Now();
  std::vector<HGDIOBJ> brushes;
  for (int i = 0; i < 5; ++i) brushes.push_back(CreateSolidBrush(RGB(i, 0, 0)));
  std::vector<HWND> windows;
  for (int i = 0; i < 2; ++i) {
    windows.push_back(
        CreateWindowW(L"STATIC", L"", 0, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr));
  }
  std::vector<HANDLE> events;
  for (int i = 0; i < 3; ++i) events.push_back(CreateEventW(nullptr, TRUE, FALSE, nullptr));
  const std::size_t bytes = 8 << 20;
  char* memory = static_cast<char*>(std::malloc(bytes));
  for (std::size_t i = 0; memory && i < bytes; i += 4096) memory[i] = 1;
  const ResourceCount leaking = ResourceCount::Now();
  std::free(memory);
  for (HANDLE event : events) CloseHandle(event);
  for (HWND window : windows) DestroyWindow(window);
  for (HGDIOBJ brush : brushes) DeleteObject(brush);
  const ResourceCount after = ResourceCount::Now();
  std::printf(
      "counter: a leak made on purpose (5 GDI objects, 2 windows, 3 handles, 8192 KB) shows as "
      "gdi %+ld, windows %+ld, handles %+ld, private %+lld KB; freed: %s\n",
      leaking.gdi_objects - before.gdi_objects, leaking.windows - before.windows,
      leaking.kernel_handles - before.kernel_handles,
      static_cast<long long>(leaking.private_bytes - before.private_bytes) / 1024,
      after.Describe().c_str());
  return leaking.gdi_objects - before.gdi_objects >= 5 && leaking.windows - before.windows >= 2 &&
         leaking.kernel_handles - before.kernel_handles >= 3 &&
         leaking.private_bytes >= before.private_bytes + bytes && !Grew(before, after, bytes / 2);
}

// Phases of the hostile run, each with its own seed. The run is made twice with the same
// seeds: the first pass makes whatever the system keeps once (fonts, dialog resources, cached
// registry keys), and the second, the same calls again, must leave the process as it found it.
bool HostileRunPasses(Driver& driver, std::vector<Phase>& phases) {
  HostileRun run(driver);
  const auto all = [&](bool record) {
    constexpr int scale = 25;
    const std::pair<const char*, std::function<bool()>> runs[] = {
        {"dispatch", [&] { return run.Dispatch(1001 + scale, 60 * scale); }},
        {"streams", [&] { return run.Streams(2002 + scale, 40 * scale); }},
        {"bags", [&] { return run.Bags(3003 + scale, 30 * scale); }},
        {"connection points", [&] { return run.ConnectionPoints(4004 + scale, 10 * scale); }},
        {"lifecycle", [&] { return run.Lifecycle(5005 + scale, 6 * scale); }},
        {"draws", [&] { return run.Draws(6006 + scale, 40 * scale); }},
    };
    for (const auto& [name, body] : runs) {
      const long calls = driver.figures.calls;
      const bool passed = body();
      if (!record) continue;
      phases.push_back({name, passed});
      std::printf("%s: %ld calls, then %s\n", name, driver.figures.calls - calls,
                  ResourceCount::Now().Describe().c_str());
    }
  };
  all(false);
  const ResourceCount start = ResourceCount::Now();
  const long live_before = LiveCounter();
  all(true);
  Pump();
  const ResourceCount end = ResourceCount::Now();
  std::printf("resources: start %s, end %s, driver objects alive %ld (was %ld)\n",
              start.Describe().c_str(), end.Describe().c_str(), LiveCounter().load(), live_before);
  PrintFigures(driver.figures);
  return driver.figures.undefined == 0 && !Grew(start, end, kMemoryAllowance) &&
         LiveCounter() == live_before;
}

// One cycle of a host's life with the control: a container window made, the control attached
// and activated in it, a position, a pushed move, two clicks, the window destroyed.
using AttachControl = HRESULT(WINAPI*)(IUnknown*, HWND, IUnknown**);

bool SoakCycle(Driver& driver, AttachControl attach, HWND form) {
  Ref<IDispatch> control = driver.NewControl();
  if (!control) return false;
  const HWND container = CreateWindowW(L"STATIC", L"", WS_CHILD | WS_VISIBLE, 0, 0, 449, 489, form,
                                       nullptr, nullptr, nullptr);
  Ref<IUnknown> site;
  const HRESULT attached = attach(control.As<IUnknown>(IID_IUnknown).get(), container, site.Put());
  bool ok = SUCCEEDED(attached);
  ok = driver.Works(control.get()) && ok;
  HWND window = nullptr;
  if (const auto in_place = control.As<IOleInPlaceObject>(IID_IOleInPlaceObject)) {
    in_place->GetWindow(&window);
  }
  if (window) {
    // Where a user clicks E7 and then E5 (the reply to the pushed move), in the control's twips
    // (15 to a pixel at 96 dpi).
    RECT client{};
    GetClientRect(window, &client);
    for (const POINT twips : {POINT{3720, 1560}, POINT{3720, 3000}}) {
      const LPARAM at = MAKELPARAM(twips.x * client.right / 6735, twips.y * client.bottom / 7335);
      PostMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, at);
      PostMessageW(window, WM_LBUTTONUP, 0, at);
    }
    Pump();
    ok = driver.Get(control.get(), driver.IdOf(control.get(), L"GetMove")) == L"E7-E5" && ok;
  } else {
    ok = false;
  }
  if (const auto object = control.As<IOleObject>(IID_IOleObject)) object->Close(OLECLOSE_NOSAVE);
  site.Reset();
  control.Reset();
  DestroyWindow(container);
  Pump();
  return ok;
}

bool Soak(Driver& driver, int cycles) {
  const HMODULE atl = LoadLibraryW(L"atl100.dll");
  const auto attach = reinterpret_cast<AttachControl>(
      reinterpret_cast<void (*)()>(GetProcAddress(atl, "AtlAxAttachControl")));
  if (!attach) {
    std::printf("soak: no container (atl100.dll)\n");
    return false;
  }
  const HWND form = CreateWindowW(L"STATIC", L"Velmora soak", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0,
                                  0, 500, 560, nullptr, nullptr, nullptr, nullptr);
  bool ok = true;
  for (int warm = 0; warm < 5; ++warm) ok = SoakCycle(driver, attach, form) && ok;
  const ResourceCount start = ResourceCount::Now();
  std::printf("soak: cycle %5d: %s\n", 0, start.Describe().c_str());
  const DWORD began = GetTickCount();
  for (int cycle = 1; cycle <= cycles; ++cycle) {
    ok = SoakCycle(driver, attach, form) && ok;
    if (cycle == 100 || cycle % 1000 == 0 || cycle == cycles) {
      std::printf("soak: cycle %5d: %s\n", cycle, ResourceCount::Now().Describe().c_str());
      std::fflush(stdout);
    }
  }
  const ResourceCount end = ResourceCount::Now();
  std::printf("soak: %d cycles in %lu s, %s\n", cycles, (GetTickCount() - began) / 1000,
              ok ? "every cycle worked" : "a cycle failed");
  DestroyWindow(form);
  Pump();
  return ok && !Grew(start, end, kMemoryAllowance);
}

int Run(int argc, char** argv) {
  int soak_cycles = 200;
  bool hostile = true;
  if (argc == 3 && std::strcmp(argv[1], "--soak") == 0) {
    soak_cycles = std::atoi(argv[2]);
    hostile = false;
  }
  SetUnhandledExceptionFilter(ReportCrash);
  CreateThread(nullptr, 0, Watchdog, nullptr, 0, nullptr);
  OleInitialize(nullptr);
  const HHOOK hook = SetWindowsHookExW(WH_CBT, CloseMessageBoxes, nullptr, GetCurrentThreadId());
  const std::wstring path = BesideProgram(L"VelmoraSW.ocx");
  HMODULE library = LoadLibraryW(path.c_str());
  std::vector<Phase> phases;
  if (!library) {
    phases.push_back({"library loads", false});
  } else {
    Driver driver(library);
    phases.push_back({"library loads", driver.Loaded()});
    if (driver.Loaded()) {
      if (hostile) {
        phases.push_back({"counter sees a leak", CounterSeesALeakMadeOnPurpose()});
        phases.push_back({"no growth, defined statuses", HostileRunPasses(driver, phases)});
      }
      phases.push_back({"soak", Soak(driver, soak_cycles)});
      const HRESULT unload = driver.CanUnloadNow();
      FreeLibrary(library);
      const bool gone = GetModuleHandleW(path.c_str()) == nullptr;
      std::printf("library: DllCanUnloadNow 0x%08lx, %s\n", unload,
                  gone ? "unloaded" : "still loaded");
      phases.push_back({"library unloads", unload == S_OK && gone});
    }
  }
  UnhookWindowsHookEx(hook);
  OleUninitialize();
  int passed = 0;
  for (const Phase& phase : phases) {
    std::printf("%-30s %s\n", phase.name, phase.passed ? "passed" : "FAILED");
    passed += phase.passed;
  }
  const bool all = passed == static_cast<int>(phases.size());
  std::printf("VELMORA-HOSTILE-TESTS: %s %d of %zu\n", all ? "PASSED" : "FAILED",
              all ? passed : static_cast<int>(phases.size()) - passed, phases.size());
  std::fflush(stdout);
  return all ? 0 : 1;
}

}  // namespace
}  // namespace velmora::hostile

int main(int argc, char** argv) {
  return velmora::hostile::Run(argc, argv);
}
