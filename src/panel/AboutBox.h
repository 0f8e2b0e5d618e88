#pragma once

class QWidget;

namespace ondivo {

// The about box: program name, version and what it is for.
struct AboutBox {
  static void Run(QWidget* parent);
};

}  // namespace ondivo
