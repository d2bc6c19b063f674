;;; farsi: writes a text with the text style "sade" (the Sade font).
;;; Asks for the insertion point, the height and the text, then writes it.
(defun c:farsi (/ point height text)
  (setq point (getpoint "\nInsertion point: "))
  (if point
    (progn
      (setq height (getdist point "\nText height <1>: "))
      (if (null height) (setq height 1.0))
      (setq text (getstring T "\nText: "))
      (if (/= text "")
        (command "_.-text" "_s" "sade" point height 0 text)
      )
    )
  )
  (princ)
)
(princ "\nfarsi loaded.")
(princ)
