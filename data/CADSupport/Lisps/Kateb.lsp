;;; kateb: writes a text with the text style "farsi" (the Naskh font).
;;; Asks for the insertion point, the height and the text, then writes it.
(defun c:kateb (/ point height text)
  (setq point (getpoint "\nInsertion point: "))
  (if point
    (progn
      (setq height (getdist point "\nText height <1>: "))
      (if (null height) (setq height 1.0))
      (setq text (getstring T "\nText: "))
      (if (/= text "")
        (command "_.-text" "_s" "farsi" point height 0 text)
      )
    )
  )
  (princ)
)
(princ "\nkateb loaded.")
(princ)
