// lwsim directives that set up and look at the scene: parents, keys,
// behaviours, channels, morph maps, item and scene settings, file dialog
// answers, and the dump, eval and selection reports.
#pragma once

#include <ostream>

#include "../host.h"
#include "directive_support.h"

namespace lwsim {

class SceneDirectives {
 public:
  SceneDirectives(Host &host, std::ostream &out) : host_(host), out_(out) {}
  void addTo(DirectiveTable &table);

 private:
  SceneItem &item(const std::string &name) const;
  Channel &channel(const SceneItem &item, const std::string &path) const;

  void parent(const Words &args);
  void key(const Words &args);
  void behavior(const Words &args);
  void addChannel(const Words &args);
  void morph(const Words &args);
  void pivot(const Words &args);
  void rest(const Words &args);
  void camera(const Words &args);
  void schematic(const Words &args);
  void fps(const Words &args);
  void preview(const Words &args);
  void render(const Words &args);
  void file(const Words &args);
  void dump(const Words &args);
  void eval(const Words &args);
  void selection(const Words &args);
  void masters(const Words &args);
  void autokey(const Words &args);

  Host &host_;
  std::ostream &out_;
};

}  // namespace lwsim
