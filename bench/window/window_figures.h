#pragma once

#include <cstdio>
#include <string>
#include <vector>

namespace kx::bench {

// The figures of a benchmark program that measures by hand: printed as lines for a reader, or as
// JSON for the table of figures, in the shape Google Benchmark's JSON has (a "benchmarks" list
// whose entries carry "name" and the figure's value as a counter).
class Figures {
public:
    Figures(std::string program, bool json) : m_program(std::move(program)), m_json(json) {}

    void add(std::string key, std::string label, double value, std::string unit)
    {
        m_figures.push_back({std::move(key), std::move(label), value, std::move(unit)});
    }

    void print() const
    {
        if (!m_json) {
            std::printf("== %s\n", m_program.c_str());
            for (const Figure &f : m_figures)
                std::printf("%-60s %10.2f %s\n", f.label.c_str(), f.value, f.unit.c_str());
            return;
        }
        std::printf("{\"benchmarks\": [\n");
        for (std::size_t i = 0; i < m_figures.size(); ++i)
            std::printf("  {\"name\": \"%s\", \"value\": %.6g}%s\n", m_figures[i].key.c_str(), m_figures[i].value,
                        i + 1 < m_figures.size() ? "," : "");
        std::printf("]}\n");
    }

private:
    struct Figure {
        std::string key;
        std::string label;
        double value;
        std::string unit;
    };
    std::string m_program;
    bool m_json;
    std::vector<Figure> m_figures;
};

} // namespace kx::bench
