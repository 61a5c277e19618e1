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
