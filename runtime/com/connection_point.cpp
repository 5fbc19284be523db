#include "runtime/com/connection_point.h"

#include <algorithm>

#include "runtime/com/boundary.h"

namespace velmora::com {

ConnectionPoint::ConnectionPoint(IConnectionPointContainer& container, REFIID iid)
    : PartOf(container), container_(container), iid_(iid) {}

void ConnectionPoint::ForEachSink(const std::function<void(IUnknown& sink)>& deliver) const {
  const auto snapshot = sinks_;
  for (const auto& [cookie, sink] : snapshot) {
    if (Connected(cookie)) deliver(*sink.get());
  }
}

bool ConnectionPoint::Connected(DWORD cookie) const {
  return std::any_of(sinks_.begin(), sinks_.end(),
                     [cookie](const auto& entry) { return entry.first == cookie; });
}

STDMETHODIMP ConnectionPoint::GetConnectionInterface(IID* iid) {
  if (!iid) return E_POINTER;
  *iid = iid_;
  return S_OK;
}

STDMETHODIMP ConnectionPoint::GetConnectionPointContainer(IConnectionPointContainer** out) {
  return HandOut(ComPtr<IConnectionPointContainer>(&container_), out);
}

ComPtr<IUnknown> ConnectionPoint::SinkInterface(IUnknown& sink) const {
  ComPtr<IUnknown> answer;
  if (SUCCEEDED(sink.QueryInterface(iid_, answer.PutVoid()))) return answer;
  // A script's generic sink answers only to IDispatch, which every event interface of ours is.
  if (iid_ != IID_IPropertyNotifySink) sink.QueryInterface(IID_IDispatch, answer.PutVoid());
  return answer;
}

STDMETHODIMP ConnectionPoint::Advise(IUnknown* sink, DWORD* cookie) {
  if (!sink || !cookie) return E_POINTER;
  *cookie = 0;
  return Call(this, [&] {
    ComPtr<IUnknown> connected = SinkInterface(*sink);
    if (!connected) return CONNECT_E_CANNOTCONNECT;
    sinks_.emplace_back(next_cookie_, std::move(connected));
    *cookie = next_cookie_++;
    return S_OK;
  });
}

STDMETHODIMP ConnectionPoint::Unadvise(DWORD cookie) {
  const auto found = std::find_if(sinks_.begin(), sinks_.end(),
                                  [cookie](const auto& entry) { return entry.first == cookie; });
  if (found == sinks_.end()) return CONNECT_E_NOCONNECTION;
  // The sink is released only after it has left the list, as its release may call back in.
  const ComPtr<IUnknown> leaving = std::move(found->second);
  sinks_.erase(found);
  return S_OK;
}

STDMETHODIMP ConnectionPoint::EnumConnections(IEnumConnections** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  return E_NOTIMPL;
}

ConnectionPointList::ConnectionPointList(ObjectCount& objects,
                                         std::vector<ComPtr<IConnectionPoint>> points)
    : Implements(objects), points_(std::move(points)) {}

STDMETHODIMP ConnectionPointList::Next(ULONG count, IConnectionPoint** out, ULONG* fetched) {
  if (!out || (count > 1 && !fetched)) return E_POINTER;
  ULONG given = 0;
  for (; given < count && next_ < points_.size(); ++given, ++next_) {
    out[given] = ComPtr<IConnectionPoint>(points_[next_]).Detach();
  }
  if (fetched) *fetched = given;
  return given == count ? S_OK : S_FALSE;
}

// Counted from what is left, so that no count wraps the position round to the start.
STDMETHODIMP ConnectionPointList::Skip(ULONG count) {
  const std::size_t left = points_.size() - next_;
  const std::size_t skipped = std::min<std::size_t>(left, count);
  next_ += skipped;
  return skipped == count ? S_OK : S_FALSE;
}

STDMETHODIMP ConnectionPointList::Reset() {
  next_ = 0;
  return S_OK;
}

STDMETHODIMP ConnectionPointList::Clone(IEnumConnectionPoints** out) {
  if (!out) return E_POINTER;
  return Call(this, [&] {
    auto copy = MakeObject<ConnectionPointList>(objects(), points_);
    copy->next_ = next_;
    *out = copy.Detach();
  });
}

}  // namespace velmora::com
