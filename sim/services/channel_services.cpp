#include "channel_services.h"

#include "../host.h"
#include "../scene/channel_tree.h"
#include "c_entry.h"
#include "handle_registry.h"
#include "unsupported_call.h"

namespace lwsim {

namespace {

ChannelGroup *group(const void *id) { return liveHandle<ChannelGroup>(id, HandleKind::Group); }
Channel *channel(const void *id) { return liveHandle<Channel>(id, HandleKind::Channel); }
Envelope *envelope(const void *id) { return liveHandle<Envelope>(id, HandleKind::Envelope); }

LWChanGroupID groupId(const ChannelGroup *g) { return reinterpret_cast<LWChanGroupID>(const_cast<ChannelGroup *>(g)); }
LWChannelID channelId(const Channel *c) { return reinterpret_cast<LWChannelID>(const_cast<Channel *>(c)); }

// The next subgroup after `current` below `parentId`; the top-level groups
// for parent 0.
LWChanGroupID nextGroup(LWChanGroupID parentId, LWChanGroupID current) {
  ++channelWalkCalls().nextGroup;
  return hostEntry<LWChanGroupID>(nullptr, [&]() -> LWChanGroupID {
    ChannelGroup *parent = group(parentId);
    if (parentId != nullptr && parent == nullptr) return nullptr;
    const ChannelGroup *after = group(current);
    if (current != nullptr && (after == nullptr || after->parent() != parent)) return nullptr;
    if (parent == nullptr) return groupId(Host::current().scene().groupAfter(after));
    return groupId(parent->groupAfter(after));
  });
}

LWChannelID nextChannel(LWChanGroupID groupId, LWChannelID current) {
  ++channelWalkCalls().nextChannel;
  return hostEntry<LWChannelID>(nullptr, [&]() -> LWChannelID {
    const ChannelGroup *owner = group(groupId);
    const Channel *after = channel(current);
    if (owner == nullptr || (current != nullptr && (after == nullptr || after->parent() != owner))) return nullptr;
    return channelId(owner->channelAfter(after));
  });
}

const char *groupName(LWChanGroupID id) {
  const ChannelGroup *g = group(id);
  return g != nullptr ? g->name().c_str() : nullptr;
}

const char *channelName(LWChannelID id) {
  const Channel *c = channel(id);
  return c != nullptr ? c->name().c_str() : nullptr;
}

LWChanGroupID groupParent(LWChanGroupID id) {
  const ChannelGroup *g = group(id);
  return g != nullptr ? groupId(g->parent()) : nullptr;
}

LWChanGroupID channelParent(LWChannelID id) {
  const Channel *c = channel(id);
  return c != nullptr ? groupId(c->parent()) : nullptr;
}

double channelEvaluate(LWChannelID id, LWTime time) {
  return hostEntry(0.0, [&] {
    const Channel *c = channel(id);
    return c != nullptr ? c->envelope().evaluate(time) : 0.0;
  });
}

LWEnvelopeID channelEnvelope(LWChannelID id) {
  Channel *c = channel(id);
  if (c == nullptr) return nullptr;
  noteLiveHandle(&c->envelope(), HandleKind::Envelope);  // a plug-in asks for an envelope to use it
  return reinterpret_cast<LWEnvelopeID>(&c->envelope());
}

double evaluate(LWEnvelopeID id, LWTime time) {
  return hostEntry(0.0, [&] {
    const Envelope *e = envelope(id);
    return e != nullptr ? e->evaluate(time) : 0.0;
  });
}

LWEnvKeyframeID keyId(EnvelopeKey *key) { return reinterpret_cast<LWEnvKeyframeID>(key); }
EnvelopeKey *key(const Envelope &e, LWEnvKeyframeID id) {
  auto *k = reinterpret_cast<EnvelopeKey *>(id);
  return e.contains(k) ? k : nullptr;
}

LWEnvKeyframeID createKey(LWEnvelopeID id, LWTime time, double value) {
  return hostEntry<LWEnvKeyframeID>(nullptr, [&]() -> LWEnvKeyframeID {
    Envelope *e = envelope(id);
    return e != nullptr ? keyId(e->createKey(time, value)) : nullptr;
  });
}

void destroyKey(LWEnvelopeID id, LWEnvKeyframeID keyIdToDestroy) {
  hostEntry([&] {
    if (Envelope *e = envelope(id)) e->destroyKey(key(*e, keyIdToDestroy));
  });
}

LWEnvKeyframeID findKey(LWEnvelopeID id, LWTime time) {
  return hostEntry<LWEnvKeyframeID>(nullptr, [&]() -> LWEnvKeyframeID {
    const Envelope *e = envelope(id);
    return e != nullptr ? keyId(e->findKey(time)) : nullptr;
  });
}

LWEnvKeyframeID nextKey(LWEnvelopeID id, LWEnvKeyframeID current) {
  return hostEntry<LWEnvKeyframeID>(nullptr, [&]() -> LWEnvKeyframeID {
    const Envelope *e = envelope(id);
    if (e == nullptr) return nullptr;
    const EnvelopeKey *after = key(*e, current);
    if (current != nullptr && after == nullptr) return nullptr;
    return keyId(e->nextKey(after));
  });
}

double *doubleField(EnvelopeKey &k, LWKeyTag tag) {
  switch (tag) {
    case LWKEY_VALUE:
      return &k.value;
    case LWKEY_TENSION:
      return &k.tension;
    case LWKEY_CONTINUITY:
      return &k.continuity;
    case LWKEY_BIAS:
      return &k.bias;
    case LWKEY_PARAM_0:
      return &k.params[0];
    case LWKEY_PARAM_1:
      return &k.params[1];
    case LWKEY_PARAM_2:
      return &k.params[2];
    case LWKEY_PARAM_3:
      return &k.params[3];
    default:
      return nullptr;
  }
}

// The shape is an int, the time moves the key, every other tag is a double.
int keySet(LWEnvelopeID id, LWEnvKeyframeID keyToSet, LWKeyTag tag, void *value) {
  return hostEntry(0, [&] {
    Envelope *e = envelope(id);
    EnvelopeKey *k = e != nullptr ? key(*e, keyToSet) : nullptr;
    if (k == nullptr || value == nullptr) return 0;
    if (tag == LWKEY_SHAPE) {
      k->shape = *static_cast<const int *>(value);
    } else if (tag == LWKEY_TIME) {
      if (!e->moveKey(k, *static_cast<const double *>(value))) return 0;
    } else if (double *field = doubleField(*k, tag)) {
      *field = *static_cast<const double *>(value);
    } else {
      return 0;
    }
    return 1;
  });
}

int keyGet(LWEnvelopeID id, LWEnvKeyframeID keyToGet, LWKeyTag tag, void *value) {
  return hostEntry(0, [&] {
    Envelope *e = envelope(id);
    EnvelopeKey *k = e != nullptr ? key(*e, keyToGet) : nullptr;
    if (k == nullptr || value == nullptr) return 0;
    if (tag == LWKEY_SHAPE) {
      *static_cast<int *>(value) = k->shape;
    } else if (tag == LWKEY_TIME) {
      *static_cast<double *>(value) = k->time;
    } else if (const double *field = doubleField(*k, tag)) {
      *static_cast<double *>(value) = *field;
    } else {
      return 0;
    }
    return 1;
  });
}

int egSet(LWEnvelopeID id, LWChanGroupID, int tag, void *value) {
  return hostEntry(0, [&] {
    Envelope *e = envelope(id);
    if (e == nullptr || value == nullptr) return 0;
    const int code = *static_cast<const int *>(value);
    if (code < kReset || code > kLinear) return 0;
    if (tag == LWENVTAG_PREBEHAVE)
      e->setPreBehavior(code);
    else if (tag == LWENVTAG_POSTBEHAVE)
      e->setPostBehavior(code);
    else
      return 0;
    return 1;
  });
}

int egGet(LWEnvelopeID id, LWChanGroupID, int tag, void *value) {
  return hostEntry(0, [&] {
    const Envelope *e = envelope(id);
    if (e == nullptr || value == nullptr) return 0;
    int *out = static_cast<int *>(value);
    if (tag == LWENVTAG_PREBEHAVE)
      *out = e->preBehavior();
    else if (tag == LWENVTAG_POSTBEHAVE)
      *out = e->postBehavior();
    else if (tag == LWENVTAG_KEYCOUNT)
      *out = static_cast<int>(e->keyCount());
    else if (tag == LWENVTAG_VISIBLE)
      *out = 1;
    else
      return 0;
    return 1;
  });
}

}  // namespace

ChannelWalkCalls &channelWalkCalls() {
  static ChannelWalkCalls calls;
  return calls;
}

LWChannelInfo *channelInfoRecord() {
  static LWChannelInfo record{.nextGroup = nextGroup,
                              .nextChannel = nextChannel,
                              .groupName = groupName,
                              .channelName = channelName,
                              .groupParent = groupParent,
                              .channelParent = channelParent,
                              .channelType = LWSIM_UNSUPPORTED(LWChannelInfo, channelType),
                              .channelEvaluate = channelEvaluate,
                              .channelEnvelope = channelEnvelope,
                              .setChannelEvent = LWSIM_UNSUPPORTED(LWChannelInfo, setChannelEvent),
                              .server = LWSIM_UNSUPPORTED(LWChannelInfo, server),
                              .serverFlags = LWSIM_UNSUPPORTED(LWChannelInfo, serverFlags),
                              .serverInstance = LWSIM_UNSUPPORTED(LWChannelInfo, serverInstance),
                              .serverApply = LWSIM_UNSUPPORTED(LWChannelInfo, serverApply),
                              .serverRemove = LWSIM_UNSUPPORTED(LWChannelInfo, serverRemove)};
  return &record;
}

LWEnvelopeFuncs *envelopeFuncsRecord() {
  static LWEnvelopeFuncs record{.create = LWSIM_UNSUPPORTED(LWEnvelopeFuncs, create),
                                .destroy = LWSIM_UNSUPPORTED(LWEnvelopeFuncs, destroy),
                                .createGroup = LWSIM_UNSUPPORTED(LWEnvelopeFuncs, createGroup),
                                .destroyGroup = LWSIM_UNSUPPORTED(LWEnvelopeFuncs, destroyGroup),
                                .copy = LWSIM_UNSUPPORTED(LWEnvelopeFuncs, copy),
                                .load = LWSIM_UNSUPPORTED(LWEnvelopeFuncs, load),
                                .save = LWSIM_UNSUPPORTED(LWEnvelopeFuncs, save),
                                .evaluate = evaluate,
                                .edit = LWSIM_UNSUPPORTED(LWEnvelopeFuncs, edit),
                                .envAge = LWSIM_UNSUPPORTED(LWEnvelopeFuncs, envAge),
                                .createKey = createKey,
                                .destroyKey = destroyKey,
                                .findKey = findKey,
                                .nextKey = nextKey,
                                .prevKey = LWSIM_UNSUPPORTED(LWEnvelopeFuncs, prevKey),
                                .keySet = keySet,
                                .keyGet = keyGet,
                                .setEnvEvent = LWSIM_UNSUPPORTED(LWEnvelopeFuncs, setEnvEvent),
                                .egSet = egSet,
                                .egGet = egGet,
                                .renameGroup = LWSIM_UNSUPPORTED(LWEnvelopeFuncs, renameGroup)};
  return &record;
}

}  // namespace lwsim
