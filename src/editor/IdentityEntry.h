// Text rules of the identity boxes that store what is typed into the image: the serial number
// (bytes 336..345) and the regional kit number (354..369).
#pragma once

#include <QByteArray>
#include <QString>

#include "model/ModuleState.h"

// The text in upper case, character by character: a character whose upper-case form is a single
// Latin-1 character takes it, every other one stays as it is, so the text keeps its length and
// each character still fits one byte.
QString UpperCaseText(const QString& text);

// Writes text into the field of `length` bytes from `first`: one byte per character, never more
// than the field holds, zeros after the last character.
void StoreFieldText(ByteImage& image, int first, int length, const QString& text);

// The bytes of one field as they were, so that a withdrawn entry can put them back.
class FieldBackup {
 public:
  FieldBackup(const ByteImage& image, int first, int length);
  void Restore(ByteImage& image) const;

 private:
  int first_;
  QByteArray bytes_;
};
