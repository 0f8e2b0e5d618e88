#pragma once

#include <memory>

class QDialog;
class QWidget;

namespace ondivo {

// The about box: program name, version and what it is for.
struct AboutBox {
  static std::unique_ptr<QDialog> Build(QWidget* parent);
  static void Run(QWidget* parent);
};

}  // namespace ondivo
