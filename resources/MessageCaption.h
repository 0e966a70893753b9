#pragma once

// The caption of the program's message boxes that concern no file, path or
// address of their own: the program's name.
constexpr char MessageCaption[] = "Kestrel";
