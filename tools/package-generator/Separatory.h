#pragma once
// Chooses the form of each separator line so that a package has the measured mix of "GO" and
// "go" and the rarer forms with trailing blanks at their places.

#include <string>

#include "PlanPakietu.h"

namespace generator {

// The end of the opening batch (line 23), the end of the file-version batch and the last line.
std::string SeparatorOtwarcia();
std::string SeparatorPrzedZamknieciem();
std::string SeparatorKoncowy();

class Separatory {
  public:
    explicit Separatory(const PlanPakietu& plan) : plan_(plan) {}

    // The separator ending the next batch of the update section.
    std::string Aktualizacji();
    // The separator ending the next batch of the object sections (framework to web service).
    std::string Obiektu();

    // Throws std::logic_error unless exactly the planned number of batches was ended.
    void SprawdzWykorzystanie() const;

  private:
    const PlanPakietu& plan_;
    int aktualizacji_ = 0;
    int obiektow_ = 0;
};

}  // namespace generator
