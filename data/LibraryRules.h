#pragma once
#include <cstdint>
#include <string>
#include <string_view>

#include "DragFunc.h"
#include "DragLibrary.h"

// The drag function manager's rules for changing the library, shared by the manager and tkcalc.

// `name` with `suffix` after it, the name cut first so that the whole fits in the 49 bytes of a
// name. CP1251 has one byte a character, so any cut falls between characters.
std::string nameWithSuffix(std::string_view name, std::string_view suffix);

// Whether an entry has exactly that name and number (no fallback, unlike findByNameAndNumber).
bool hasEntry(const DragLibrary& library, std::string_view name, int32_t number);

// "Сделать копию": a copy of `source` named with "_copy" after its name, kind StandardCopy for a
// Standard source and the source's kind otherwise, numbered by nextUniqueNumber, added at the end.
// Returns the copy as added. The caller saves the library.
DragFunc addCopy(DragLibrary& library, const DragFunc& source);

// "Действительно удалить\nвыбранную функцию\n<name> ?" (name as CP1251 bytes, the text UTF-8).
std::string deleteQuestion(std::string_view cp1251Name);

// "Создать новую": "Новая функция" with the Mach numbers 0.5, 0.9, 1.0, 1.1, 1.34, 1.79, 2.23 and
// 2.68, each with Cd 0, for the editor to fill in.
DragFunc newDragFunction();

// A function made by the editor or the estimate into the library: kind Special, numbered by
// nextUniqueNumber, at the end. Returns it as added.
DragFunc addCreated(DragLibrary& library, DragFunc f);
