#pragma once

#include <functional>
#include <utility>
#include <vector>

#include "runtime/com_base/implements.h"

namespace velmora::com {

// The sinks a host connected to one outgoing interface of an object. A sink may disconnect,
// or let go of the object, while the object is calling it: calls go to a copy of the list,
// and a sink disconnected meanwhile is skipped.
class ConnectionPoint : public PartOf<IConnectionPoint> {
 public:
  // `container` is the object itself, of which this point is a part.
  ConnectionPoint(IConnectionPointContainer& container, REFIID iid);

  // Calls `deliver` with every connected sink, in the order they connected.
  void ForEachSink(const std::function<void(IUnknown& sink)>& deliver) const;
  bool HasSinks() const { return !sinks_.empty(); }
  // Drops every sink (the object is closing).
  void Clear() { sinks_.clear(); }

  STDMETHODIMP GetConnectionInterface(IID* iid) override;
  STDMETHODIMP GetConnectionPointContainer(IConnectionPointContainer** out) override;
  STDMETHODIMP Advise(IUnknown* sink, DWORD* cookie) override;
  STDMETHODIMP Unadvise(DWORD cookie) override;
  STDMETHODIMP EnumConnections(IEnumConnections** out) override;

 private:
  bool Connected(DWORD cookie) const;
  // The sink's interface for this point, or null when it has none.
  ComPtr<IUnknown> SinkInterface(IUnknown& sink) const;

  IConnectionPointContainer& container_;
  IID iid_;
  std::vector<std::pair<DWORD, ComPtr<IUnknown>>> sinks_;
  DWORD next_cookie_ = 1;
};

// Lists an object's connection points for IConnectionPointContainer::EnumConnectionPoints.
class ConnectionPointList : public Implements<IEnumConnectionPoints> {
 public:
  ConnectionPointList(ObjectCount& objects, std::vector<ComPtr<IConnectionPoint>> points);

  STDMETHODIMP Next(ULONG count, IConnectionPoint** out, ULONG* fetched) override;
  STDMETHODIMP Skip(ULONG count) override;
  STDMETHODIMP Reset() override;
  STDMETHODIMP Clone(IEnumConnectionPoints** out) override;

 private:
  std::vector<ComPtr<IConnectionPoint>> points_;
  std::size_t next_ = 0;
};

}  // namespace velmora::com
