#pragma once
// A trimmed view in which a closed polyline's artificial break at its start/end point is gone: when a
// polyline's record keeps a piece that runs into the closing point and one that runs out of it (at least two
// segments, the first starting exactly at 0, the last ending exactly at the polyline's end, and the closure
// function saying the polyline is closed), the two are presented as one piece: the positions of the last
// segment followed by those of the first without its first position. The first segment is then not presented
// on its own. Everything else is presented as the trimmed view presents it.
//
// The view moves the trimmed view it reads (it stands where that view stands); constructed with
// velTPLIIndependent it works on a copy of its own. The closure function and its data must outlive the view.

#include "arcline/lists/velTPLIIndependent.h"
#include "arcline/lists/velTrimmedPolylineListIter.h"

#include <memory>

class velTPLIWithoutClosureBreaks : public velPolylineListIter {
    UT_DECLARE_TYPE_ID(velTPLIWithoutClosureBreaks, velPolylineListIter)

public:
    // Reads `trimmed` (not owned); `closed` defaults to default_closure_function.
    explicit velTPLIWithoutClosureBreaks(velTrimmedPolylineListIter& trimmed,
                                         velClosureFunction closed = nullptr, void* data = nullptr);
    // Reads a copy of `trimmed` (owned).
    velTPLIWithoutClosureBreaks(velTPLIIndependent, const velTrimmedPolylineListIter& trimmed,
                                velClosureFunction closed = nullptr, void* data = nullptr);
    velTPLIWithoutClosureBreaks(const velTPLIWithoutClosureBreaks& other);
    velTPLIWithoutClosureBreaks& operator=(const velTPLIWithoutClosureBreaks&) = delete;
    ~velTPLIWithoutClosureBreaks() override;

    // Attaches to another trimmed view (not owned).
    void attatch_iter_without_closure_breaks(velTrimmedPolylineListIter& trimmed);

    int size() const override;
    void reset() override;
    int operator++() override;
    int num_pos() const override;
    giPoint3 get_pos(int i) const override;
    int span_linear(int i) const override;
    giPoint3 get_mid_pos(int i) const override;
    double get_bulge(int i) const override;
    int index() const override;
    void set_index(int k) override;
    velTPLIWithoutClosureBreaks* create_new() const override {
        return new velTPLIWithoutClosureBreaks(*this);
    }
    int all_spans_linear() const override { return m_trimmed->all_spans_linear(); }

    int open_start() const { return m_trimmed->open_start(m_closed, m_data) && !joined(); }
    int open_end() const;
    // The current piece is a whole closed polyline.
    int closed() const;
    int underlying_index() const { return m_trimmed->underlying_index(); }
    double underlying_start() const { return m_trimmed->underlying_start(); }
    double underlying_end() const {
        return m_trimmed->underlying_end_without_closure_breaks(m_closed, m_data);
    }
    double underlying_parameter(double t) const {
        return m_trimmed->underlying_parameter_without_closure_breaks(t, m_closed, m_data);
    }
    void start_end(giPoint3& start, giPoint3& end) const;
    void start_end_data(velTrimmedPolylineEndData& data) const;
    velTrimmedPolylineListIter& trimmed_iter() const { return *m_trimmed; }

    // Closed when the first and last positions of the polyline coincide within *(double*)data (0.0 when data
    // is null). `underlying` is not moved: when it stands elsewhere a clone of it walks to the polyline.
    static int default_closure_function(const velPolylineListIter& underlying, int index, void* data);

private:
    // The current piece joins the last and the first segment of its record.
    bool joined() const { return m_trimmed->enlarged_without_closure_breaks(m_closed, m_data) != 0; }
    // Positions of the current piece that come from the last segment.
    int last_part_positions() const { return m_trimmed->piece_num_pos(m_trimmed->segment_number()); }

    std::unique_ptr<velTrimmedPolylineListIter> m_owned;
    velTrimmedPolylineListIter* m_trimmed;
    velClosureFunction m_closed;
    void* m_data;
};
