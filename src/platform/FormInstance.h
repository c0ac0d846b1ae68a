// The one instance of a form, as the program reaches it through the form's accessor: created on
// first use, forgotten when the form is unloaded. A QPointer holds it, so a form deleted in any
// other way is never reached again. Each form keeps its own Load steps; Unload is the usual
// unload, and a form that needs more keeps its own.
#pragma once

#include <QPointer>

namespace cps {

template <class Form>
class FormInstance {
 public:
  // The form, created on first use; load(form) then runs once, after the instance is reachable,
  // so that what the form's Load touches may reach the form again.
  template <class Load>
  Form& Get(Load load) {
    if (form_.isNull()) {
      form_ = new Form();
      load(*form_);
    }
    return *form_;
  }
  Form& Get() {
    return Get([](Form&) {});
  }

  bool IsLoaded() const { return !form_.isNull(); }
  bool IsVisible() const { return form_ && form_->isVisible(); }
  bool Holds(const Form* form) const { return form_ == form; }

  // Forgets the form and hands it to its unload steps (nullptr when none is loaded); the next
  // Get creates a new one.
  Form* Release() {
    Form* form = form_.data();
    form_.clear();
    return form;
  }

  // The usual unload: forgets the form, runs its Form_Unload, hides it and deletes it once
  // control is back in the event loop, since the unload mostly comes from one of the form's own
  // handlers. Nothing when none is loaded.
  void Unload() {
    Form* form = Release();
    if (!form) return;
    form->Form_Unload();
    form->hide();
    form->deleteLater();
  }

  // Deletes the form without any unload step, so that every test starts without one.
  void Destroy() {
    delete form_.data();
    form_.clear();
  }

 private:
  QPointer<Form> form_;
};

}  // namespace cps
