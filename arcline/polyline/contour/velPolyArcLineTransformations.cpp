#include "arcline/polyline/contour/velPolyArcLineTransformations.h"

#include "arcline/polyline/velPolyArcLineDouble.h"

std::unique_ptr<velAbsPolyArcLine> velPolyArcLineTransformations::make_transformed(const velAbsPolyArcLine& p,
                                                                                   const giXform3& xf) {
    std::unique_ptr<velAbsPolyArcLine> image(p.create_empty());
    const int n = p.num_pos();
    if (n == 0) return image;
    image->reserve(n);
    giPoint3 end, mid;
    p.get_pos(1, end);
    image->add_pos(xf * end);
    for (int i = 1; i < n; ++i) {
        p.span_end(i, end);
        if (p.span_linear(i)) {
            image->add_pos(xf * end);
        } else {
            p.span_middle(i, mid);
            image->add_arc(xf * mid, xf * end);
        }
    }
    return image;
}

velAbsPolyArcLineVec velPolyArcLineTransformations::make_transformed(velPolylineListIter& iter,
                                                                     const giXform3& xf) {
    velAbsPolyArcLineVec images;
    images.reserve(static_cast<std::size_t>(std::max(iter.size(), 0)));
    iter.reset();
    while (++iter) {
        auto image = std::make_unique<velPolyArcLineDouble>();
        const int n = iter.num_pos();
        image->reserve(n);
        for (int i = 0; i < n; ++i) {
            const giPoint3 p = xf * iter.get_pos(i);
            if (i == 0 || iter.span_linear(i - 1))
                image->add_pos(p);
            else
                image->add_arc(xf * iter.get_mid_pos(i - 1), p);
        }
        images.push_back(std::move(image));
    }
    return images;
}

std::unique_ptr<velAbsPolyArcLine> velPolyArcLineTransformations::make_translated(const velAbsPolyArcLine& p,
                                                                                  const giVector3& v) {
    return make_transformed(p, giXform3::translation(v));
}

velAbsPolyArcLineVec velPolyArcLineTransformations::make_translated(velPolylineListIter& iter,
                                                                    const giVector3& v) {
    return make_transformed(iter, giXform3::translation(v));
}

void velPolyArcLineTransformations::transform(velAbsPolyArcLine& p, const giXform3& xf) {
    const int n = p.num_pos();
    if (n == 0) return;
    giPoint3 q;
    // A class that cannot take an image by editing (one height for the whole line, when the height changes)
    // is rewritten from the transformed copy, so both forms agree.
    for (int i = 1; i <= n; ++i) {
        p.get_pos(i, q);
        if (p.ok_to_edit_pos(i, xf * q)) continue;
        const std::unique_ptr<velAbsPolyArcLine> image = make_transformed(p, xf);
        p.reset();
        image->get_pos(1, q);
        p.add_pos(q);
        for (int k = 1; k < n; ++k) {
            giPoint3 end, mid;
            image->span_end(k, end);
            if (image->span_linear(k)) {
                p.add_pos(end);
            } else {
                image->span_middle(k, mid);
                p.add_arc(mid, end);
            }
        }
        return;
    }
    p.get_pos(1, q);
    p.edit_pos(1, xf * q);
    for (int i = 1; i < n; ++i) {
        p.span_end(i, q);
        p.edit_pos(i + 1, xf * q);
        if (!p.span_linear(i)) {
            p.span_middle(i, q);
            p.edit_mid_pos(i, xf * q);
        }
    }
}

void velPolyArcLineTransformations::translate(velAbsPolyArcLine& p, const giVector3& v) {
    transform(p, giXform3::translation(v));
}
