#include "platform/Frame.h"

namespace cps {

Frame::Frame(QWidget* parent) : ControlBase<Frame, QGroupBox>(parent) {}

Frame::Frame(const QString& caption, QWidget* parent) : Frame(parent) { setTitle(caption); }

}  // namespace cps
